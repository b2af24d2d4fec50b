#include "widgets/ToolButton.h"

#include "widgets/Look.h"

#include <QMouseEvent>

namespace quenyx::shell {

ToolButton::ToolButton(const QString& objectName, const QString& image, bool hasDisabledImage, QWidget* parent)
    : ClickableLabel(parent)
{
    setObjectName(objectName);
    resize(Px(615), Px(615));
    up_ = Image(image + QStringLiteral("_up"), width(), height(), this);
    down_ = Image(image + QStringLiteral("_down"), width(), height(), this);
    disabled_ = hasDisabledImage ? Image(image + QStringLiteral("_disabled"), width(), height(), this) : up_;
    connect(this, &ClickableLabel::pressed, this, [this] {
        pressed_ = true;
        ShowImage();
    });
    connect(this, &ClickableLabel::released, this, [this] {
        pressed_ = false;
        ShowImage();
    });
    ShowImage();
}

void ToolButton::SetActive(bool active)
{
    active_ = active;
    pressed_ = false;
    ShowImage();
}

void ToolButton::mousePressEvent(QMouseEvent* event)
{
    if (active_)
        ClickableLabel::mousePressEvent(event);
    else
        event->accept();
}

void ToolButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (active_)
        ClickableLabel::mouseReleaseEvent(event);
    else
        event->accept();
}

void ToolButton::ShowImage() { setPixmap(!active_ ? disabled_ : pressed_ ? down_ : up_); }

} // namespace quenyx::shell
