#include "widgets/PanelButton.h"

#include "widgets/Accessibility.h"
#include "widgets/Look.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace quenyx::shell {

PanelButton::PanelButton(const QString& panelName, const QString& labelName, const QString& caption, QWidget* parent)
    : QFrame(parent), label_(new QLabel(caption, this))
{
    InstallAccessibility();
    setObjectName(panelName);
    label_->setObjectName(labelName);
    label_->setAlignment(Qt::AlignCenter);
    label_->setFont(DesignFont(9));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(label_);
    SetBackground(this, kPanelGrey);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

void PanelButton::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit clicked();
        event->accept();
        break;
    default:
        QFrame::keyPressEvent(event);
    }
}

void PanelButton::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (hasFocus())
        DrawFocusFrame(this, rect().adjusted(3, 3, -3, -3));
}

// The label leaves mouse events to the panel, so a press or click on it arrives here.
void PanelButton::mousePressEvent(QMouseEvent* event)
{
    SetBackground(this, kPanelPressed);
    event->accept();
}

void PanelButton::mouseReleaseEvent(QMouseEvent* event)
{
    SetBackground(this, kPanelGrey);
    const QPoint at = mapFromGlobal(event->globalPosition().toPoint());
    if (rect().contains(at))
        emit clicked();
    event->accept();
}

} // namespace quenyx::shell
