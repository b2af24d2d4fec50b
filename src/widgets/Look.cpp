#include "widgets/Look.h"

#include <QFont>
#include <QGuiApplication>
#include <QImageReader>
#include <QPalette>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

namespace quenyx::shell {

QFont DesignFont(double pointSize, bool bold)
{
    QFont font(QStringLiteral("Segoe UI"));
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

void RegisterFontSubstitutes()
{
    // Open Sans is close to Segoe UI in width and height, and the same on every machine that installs it.
    QFont::insertSubstitutions(QStringLiteral("Segoe UI"),
                               {QStringLiteral("Open Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Open Sans"), QStringLiteral("DejaVu Sans")});
}

QPixmap Image(const QString& name, int width, int height, const QWidget* widget)
{
    const qreal ratio =
        widget ? widget->devicePixelRatioF()
               : (QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->devicePixelRatio() : 1.0);
    const QSize wanted(qRound(width * ratio), qRound(height * ratio));
    // Each image is embedded at one to four times its drawn size; the smallest that is at least as large
    // as wanted is scaled down, so no image is ever blown up from fewer pixels than the screen shows.
    QPixmap source;
    for (int scale = 1; scale <= 4; ++scale) {
        const QString file = scale == 1 ? QStringLiteral(":/images/%1.png").arg(name)
                                        : QStringLiteral(":/images/%1@%2x.png").arg(name).arg(scale);
        // Read as PNG without asking the image plugins first: asking them loads every one of them.
        QImageReader reader(file, "png");
        reader.setAutoDetectImageFormat(false);
        const QImage read = reader.read();
        if (read.isNull())
            break;
        source = QPixmap::fromImage(read);
        if (source.width() >= wanted.width() && source.height() >= wanted.height())
            break;
    }
    if (source.isNull()) {
        QPixmap empty(wanted);
        empty.fill(Qt::transparent);
        empty.setDevicePixelRatio(ratio);
        return empty;
    }
    QPixmap pixmap =
        source.size() == wanted ? source : source.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

void SetBackground(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// The disabled group keeps the style's colour, so that a disabled control's text looks disabled.
void SetTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::WindowText, colour);
        palette.setColor(group, QPalette::Text, colour);
    }
    widget->setPalette(palette);
}

} // namespace quenyx::shell
