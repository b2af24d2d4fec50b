#include "widgets/KeyboardGroup.h"

#include "widgets/TitleStrip.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace quenyx::shell {

KeyboardGroup::KeyboardGroup(Qt::Orientation orientation, Moves moves, QObject* parent)
    : QObject(parent), orientation_(orientation), moves_(moves)
{
}

void KeyboardGroup::Add(ClickableLabel* member)
{
    member->setFocusPolicy(members_.isEmpty() ? Qt::TabFocus : Qt::NoFocus);
    member->installEventFilter(this);
    members_.append(member);
}

void KeyboardGroup::SetCanAct(std::function<bool(const ClickableLabel*)> canAct)
{
    canAct_ = std::move(canAct);
}

void KeyboardGroup::SetEntry(std::function<ClickableLabel*()> entry)
{
    entry_ = std::move(entry);
}

namespace {
constexpr char kKeyboardCues[] = "quenyxKeyboardCues";
}

bool KeyboardGroup::ShowsFocus(const QWidget* member)
{
    return member->hasFocus() && member->window()->property(kKeyboardCues).toBool();
}

bool KeyboardGroup::CanAct(const ClickableLabel* member) const
{
    return member && member->isVisibleTo(member->window()) && (!canAct_ || canAct_(member));
}

ClickableLabel* KeyboardGroup::Entry() const
{
    if (entry_) {
        if (ClickableLabel* entry = entry_(); CanAct(entry))
            return entry;
    }
    if (CanAct(last_))
        return last_;
    for (const auto& member : members_) {
        if (CanAct(member))
            return member;
    }
    return last_;
}

// Only one member is in the Tab chain at a time, so Tab leaves the group instead of walking it.
void KeyboardGroup::MakeTabStop(ClickableLabel* member)
{
    for (const auto& m : members_) {
        if (m)
            m->setFocusPolicy(m == member ? Qt::TabFocus : Qt::NoFocus);
    }
    last_ = member;
}

void KeyboardGroup::Move(ClickableLabel* from, int step, bool toEnd)
{
    const int count = static_cast<int>(members_.size());
    const int start = toEnd ? (step > 0 ? -1 : count) : static_cast<int>(members_.indexOf(from));
    // The ends do not wrap, as in a list.
    for (int at = start + step; at >= 0 && at < count; at += step) {
        if (ClickableLabel* member = members_[at]; CanAct(member)) {
            member->setFocus(Qt::OtherFocusReason);
            if (moves_ == Moves::Press)
                emit member->clicked();
            return;
        }
    }
}

bool KeyboardGroup::eventFilter(QObject* watched, QEvent* event)
{
    auto* member = qobject_cast<ClickableLabel*>(watched);
    if (!member)
        return false;
    if (event->type() == QEvent::FocusIn) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) {
            if (ClickableLabel* entry = Entry(); entry && entry != member) {
                entry->setFocus(reason);
                return true;
            }
        }
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::OtherFocusReason)
            member->window()->setProperty(kKeyboardCues, true);
        MakeTabStop(member);
        member->update();
        return false;
    }
    if (event->type() == QEvent::FocusOut) {
        member->update();
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    if (!member->window()->property(kKeyboardCues).toBool()) {
        member->window()->setProperty(kKeyboardCues, true);
        member->update();
    }
    const bool horizontal = orientation_ == Qt::Horizontal;
    switch (key->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (CanAct(member))
            emit member->clicked();
        return true;
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down: {
        const bool along = (key->key() == Qt::Key_Left || key->key() == Qt::Key_Right) == horizontal;
        if (!along)
            return false;
        Move(member, key->key() == Qt::Key_Left || key->key() == Qt::Key_Up ? -1 : 1, false);
        return true;
    }
    case Qt::Key_Home:
    case Qt::Key_End:
        Move(member, key->key() == Qt::Key_Home ? 1 : -1, true);
        return true;
    default:
        return false;
    }
}

} // namespace quenyx::shell
