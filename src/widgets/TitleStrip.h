#pragma once

#include <QLabel>
#include <QWidget>

namespace quenyx::shell {

// A picture that acts on a click, as the design's picture-box buttons do; it reports presses and
// releases so the owner can change its look.
class ClickableLabel : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

signals:
    void pressed();
    void released();
    void clicked();
    void doubleClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    // A picture that has the keyboard's focus (see KeyboardGroup) shows the dotted frame inside its edge.
    void paintEvent(QPaintEvent* event) override;
};

// The blue title strip of a borderless window: logo, "Quenyx Agent Admin" and, where asked for, the close
// button. Dragging the strip moves the window.
class TitleStrip final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TitleStrip)

public:
    TitleStrip(QWidget* window, int widthTwips, int heightTwips, bool withCloseButton);

    QLabel* logo() const { return picture2_; }
    QLabel* title() const { return lblWindowTitle_; }
    ClickableLabel* closeButton() const { return btnClose_; }

signals:
    void closeClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QWidget* window_;
    QLabel* picture2_ = nullptr;
    QLabel* lblWindowTitle_ = nullptr;
    ClickableLabel* btnClose_ = nullptr;
    QPoint dragOffset_;
};

} // namespace quenyx::shell
