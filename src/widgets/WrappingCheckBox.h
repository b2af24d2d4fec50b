#pragma once

#include <QCheckBox>

namespace quenyx::shell {

// A check box whose caption wraps onto as many lines as it needs within the box's width, and which takes a
// click anywhere on itself.
class WrappingCheckBox final : public QCheckBox
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WrappingCheckBox)

public:
    using QCheckBox::QCheckBox;

    // Grows the box down to hold its caption as it now reads (translated, say); returns by how many pixels.
    int FitCaption();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& position) const override;

private:
    QRect CaptionArea() const;
};

} // namespace quenyx::shell
