#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace quenyx::shell {

class ClickableLabel;

// Drawn pictures that act together, as a Windows toolbar or navigation list does for the keyboard: the group
// is one Tab stop, the arrow keys of its direction (and Home, End) move between the members that can act,
// Space and Enter press the focused one, and the focused member shows a dotted focus frame.
class KeyboardGroup final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(KeyboardGroup)

public:
    enum class Moves { FocusOnly, Press };

    // With Moves::Press an arrow also presses the member it moves to: a navigation list whose selection
    // follows the focus, as the system's tree views do.
    KeyboardGroup(Qt::Orientation orientation, Moves moves, QObject* parent);

    void Add(ClickableLabel* member);
    // Whether a member takes the keyboard (by default a visible one). A member that cannot act is skipped by
    // the arrows and not pressed.
    void SetCanAct(std::function<bool(const ClickableLabel*)> canAct);
    // Where Tab lands when it enters the group; by default the member last focused, else the first that acts.
    void SetEntry(std::function<ClickableLabel*()> entry);

    // As in Windows, the focus frames of a window show once its keyboard is used (Tab, the arrows, a key
    // pressed on a member), not while only the mouse has been.
    static bool ShowsFocus(const QWidget* member);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool CanAct(const ClickableLabel* member) const;
    ClickableLabel* Entry() const;
    void MakeTabStop(ClickableLabel* member);
    void Move(ClickableLabel* from, int step, bool toEnd);

    Qt::Orientation orientation_;
    Moves moves_;
    QList<QPointer<ClickableLabel>> members_;
    QPointer<ClickableLabel> last_;
    std::function<bool(const ClickableLabel*)> canAct_;
    std::function<ClickableLabel*()> entry_;
};

} // namespace quenyx::shell
