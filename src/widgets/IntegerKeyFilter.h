#pragma once

#include <QObject>

class QChar;
class QWidget;

namespace quenyx::shell {

// Lets only the characters of an integer setting be typed into a box: the digits 0 to 9, the comma and
// Backspace. It judges typed characters alone: keys that type nothing (arrows, Delete, Ctrl+V) pass, and so does
// pasted text; nothing checks the box's text afterwards.
class IntegerKeyFilter final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(IntegerKeyFilter)

public:
    // Puts a filter, owned by `box`, on it.
    static void Install(QWidget* box);
    static bool Accepts(QChar typed);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit IntegerKeyFilter(QObject* parent);
};

} // namespace quenyx::shell
