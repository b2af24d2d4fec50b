#include "widgets/Look.h"

#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QScreen>
#include <QSvgRenderer>
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
    QPixmap pixmap(QSize(qRound(width * ratio), qRound(height * ratio)));
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/images/%1.svg").arg(name));
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
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
