#pragma once

#include <QObject>

class QChar;
class QWidget;

namespace quenyx::shell {

// Lets only the characters that `accepts` takes be typed into a box (the feature that owns the box owns that
// rule). It judges typed characters alone: keys that type nothing (arrows, Delete, Ctrl+V) pass, and so does
// pasted text; nothing checks the box's text afterwards.
class IntegerKeyFilter final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(IntegerKeyFilter)

public:
    using Rule = bool (*)(char32_t typed);

    // Puts a filter, owned by `box`, on it.
    static void Install(QWidget* box, Rule accepts);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    IntegerKeyFilter(QObject* parent, Rule accepts);
    bool Accepts(QChar typed) const { return accepts_(typed.unicode()); }

    Rule accepts_;
};

} // namespace quenyx::shell
