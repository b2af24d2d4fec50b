#include "widgets/IntegerKeyFilter.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QWidget>

namespace quenyx::shell {

IntegerKeyFilter::IntegerKeyFilter(QObject* parent, Rule accepts) : QObject(parent), accepts_(accepts) {}

void IntegerKeyFilter::Install(QWidget* box, Rule accepts)
{
    box->installEventFilter(new IntegerKeyFilter(box, accepts));
}

bool IntegerKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        // Shortcuts (Ctrl+V; but Ctrl+Alt is AltGr, which types) and control characters (Enter, Escape) type
        // nothing and go on to the box.
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto modifiers = key->modifiers();
        if ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier))
            return QObject::eventFilter(watched, event);
        for (const QChar typed : key->text())
            if (typed.isPrint() && !Accepts(typed))
                return true;
    } else if (event->type() == QEvent::InputMethod) {
        // Text composed by an input method is typed too.
        auto* composed = static_cast<QInputMethodEvent*>(event);
        QString kept;
        for (const QChar typed : composed->commitString())
            if (Accepts(typed))
                kept += typed;
        if (kept != composed->commitString())
            composed->setCommitString(kept, composed->replacementStart(), composed->replacementLength());
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quenyx::shell
