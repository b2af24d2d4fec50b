#pragma once

#include <QWidget>

#include <functional>

class QLabel;

namespace quenyx::shell {

class TitleStrip;

// The small modeless box that shows one text while the console does blocking work.
class frmWait final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmWait)

public:
    explicit frmWait(QWidget* parent = nullptr);
    ~frmWait() override;

    QString msg;

    // Translates the box, then shows `msg`.
    void Load();
    QLabel* message() const { return lblMessage_; }

private:
    TitleStrip* brdTop_;
    QLabel* lblMessage_;
};

// Opens a wait box with `text` and paints it before returning; HideWait closes it (without one open,
// nothing happens). Callers pair one with the other.
void ShowWait(const QString& text);
void HideWait();
// The box now open, or null.
frmWait* waitForm();
// Tests see every box opened (with its text) and every close, in order.
void SetWaitObserverForTests(std::function<void(const QString& text, bool shown)> observer);

} // namespace quenyx::shell
