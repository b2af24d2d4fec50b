#include "widgets/Look.h"

#include <QFont>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QWidget>

#include <algorithm>
#include <cmath>

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

double ContrastRatio(const QColor& a, const QColor& b)
{
    const auto luminance = [](const QColor& c) {
        const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The design fixes many backgrounds and few text colours. Where the text colour is the system's, a fixed
// background keeps it readable: a high-contrast theme's light text would vanish on the design's white, so a
// text colour too close to the background becomes black or white, whichever reads. The design's own
// pairs (black on white) stay as they are.
void SetBackground(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    const bool light = ContrastRatio(colour, Qt::black) >= ContrastRatio(colour, Qt::white);
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool disabled = group == QPalette::Disabled;
        if (ContrastRatio(palette.color(group, QPalette::WindowText), colour) < (disabled ? 3.0 : kReadableContrast))
            palette.setColor(group, QPalette::WindowText,
                             disabled ? (light ? QColor(96, 96, 96) : QColor(176, 176, 176))
                                      : (light ? QColor(Qt::black) : QColor(Qt::white)));
    }
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

void DrawFocusFrame(QWidget* widget, const QRect& rect)
{
    QPainter painter(widget);
    QStyleOptionFocusRect option;
    option.initFrom(widget);
    option.rect = rect;
    option.backgroundColor = widget->palette().color(QPalette::Window);
    widget->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, widget);
}

} // namespace quenyx::shell
