#include "widgets/WrappingCheckBox.h"

#include <QStyleOptionButton>
#include <QStylePainter>

#include <algorithm>

namespace quenyx::shell {

QRect WrappingCheckBox::CaptionArea() const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    QRect area = style()->subElementRect(QStyle::SE_CheckBoxContents, &option, this);
    area.setRight(rect().right());
    return area;
}

int WrappingCheckBox::FitCaption()
{
    const QRect area = CaptionArea();
    const QRect needed =
        fontMetrics().boundingRect(QRect(area.left(), 0, area.width(), 0x7FFF), Qt::TextWordWrap, text());
    const int grow = std::max(0, needed.height() - area.height());
    if (grow > 0)
        resize(width(), height() + grow);
    return grow;
}

void WrappingCheckBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_CheckBox, option);
    style()->drawItemText(&painter, CaptionArea(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, palette(),
                          isEnabled(), caption, QPalette::WindowText);
}

bool WrappingCheckBox::hitButton(const QPoint& position) const
{
    return rect().contains(position);
}

} // namespace quenyx::shell
