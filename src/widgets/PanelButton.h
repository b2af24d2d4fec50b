#pragma once

#include <QFrame>

class QLabel;

namespace quenyx::shell {

// The design's button: a grey panel holding a caption label. A press on the panel or its label darkens
// the panel until release; a click on either is a click of the button. Tab reaches it, a dotted frame inside
// its edge shows the focus, and Space or Enter presses it.
class PanelButton final : public QFrame
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PanelButton)

public:
    PanelButton(const QString& panelName, const QString& labelName, const QString& caption, QWidget* parent);

    QLabel* label() const { return label_; }

signals:
    void clicked();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QLabel* label_;
};

} // namespace quenyx::shell
