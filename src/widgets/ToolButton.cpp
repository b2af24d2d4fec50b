#include "widgets/ToolButton.h"

#include "widgets/Look.h"

#include <QMouseEvent>

namespace quenyx::shell {

ToolButton::ToolButton(const QString& objectName, const QString& image, bool hasDisabledImage, QWidget* parent)
    : ClickableLabel(parent), image_(image), hasDisabledImage_(hasDisabledImage)
{
    setObjectName(objectName);
    resize(Px(615), Px(615));
    connect(this, &ClickableLabel::pressed, this, [this] {
        pressed_ = true;
        ShowImage();
    });
    connect(this, &ClickableLabel::released, this, [this] {
        pressed_ = false;
        ShowImage();
    });
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

void ToolButton::showEvent(QShowEvent* event)
{
    if (pixmap().isNull())
        ShowImage();
    ClickableLabel::showEvent(event);
}

const QPixmap& ToolButton::Drawn(QPixmap& image, const char* suffix)
{
    if (image.isNull())
        image = Image(image_ + QLatin1String(suffix), width(), height(), this);
    return image;
}

void ToolButton::ShowImage()
{
    if (!active_ && hasDisabledImage_)
        setPixmap(Drawn(disabled_, "_disabled"));
    else
        setPixmap(active_ && pressed_ ? Drawn(down_, "_down") : Drawn(up_, "_up"));
}

} // namespace quenyx::shell
