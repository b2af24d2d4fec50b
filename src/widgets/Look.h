#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>

class QRect;
class QWidget;

// The console's look: positions given in twips, the design's colours and fonts, and its images.
namespace quenyx::shell {

// 15 twips are one pixel at 96 dots per inch; Qt scales device-independent pixels on high-DPI screens.
constexpr int Px(int twips)
{
    return (twips + 7) / 15;
}

inline const QColor kTitleBlue{15, 117, 179};
inline const QColor kPanelGrey{0xDB, 0xDB, 0xDB};
inline const QColor kPanelPressed{0x7D, 0x7D, 0x7D};
inline const QColor kBandGrey{230, 230, 230};
inline const QColor kLabelGrey{125, 125, 125};
inline const QColor kSelectedOrange{226, 93, 65};

// "Segoe UI" in the design; where it is missing a metric-stable substitute is registered at start-up.
QFont DesignFont(double pointSize, bool bold = false);
void RegisterFontSubstitutes();

// An image of ours (":/images/<name>.png", rendered from images/<name>.svg at build time) drawn for `widget`'s screen
// at `width` x `height` logical pixels.
QPixmap Image(const QString& name, int width, int height, const QWidget* widget = nullptr);

// WCAG's contrast ratio of two colours, 1 to 21; 4.5 is what normal text needs to be readable.
double ContrastRatio(const QColor& a, const QColor& b);
inline constexpr double kReadableContrast = 4.5;

void SetBackground(QWidget* widget, const QColor& colour);
// The style's dotted focus frame on `rect` of `widget`, painted from the widget's paint event.
void DrawFocusFrame(QWidget* widget, const QRect& rect);
void SetTextColour(QWidget* widget, const QColor& colour);

} // namespace quenyx::shell
