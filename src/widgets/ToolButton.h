#pragma once

#include "widgets/TitleStrip.h"

#include <QPixmap>

namespace quenyx::shell {

// A toolbar picture with its normal, pressed and disabled images (41 x 41). An inactive button takes no
// mouse events, so it keeps its disabled image until it is made active again. (Qt's own disabled state
// would grey the already grey image a second time.)
class ToolButton final : public ClickableLabel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ToolButton)

public:
    // Images "<image>_up", "_down" and, where `hasDisabledImage`, "_disabled".
    ToolButton(const QString& objectName, const QString& image, bool hasDisabledImage, QWidget* parent);

    void SetActive(bool active);
    bool IsActive() const { return active_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void ShowImage();
    // Each image is drawn the first time it is shown: most buttons show only one of theirs at start-up.
    const QPixmap& Drawn(QPixmap& image, const char* suffix);

    QString image_;
    bool hasDisabledImage_;
    QPixmap up_;
    QPixmap down_;
    QPixmap disabled_;
    bool pressed_ = false;
    bool active_ = true;
};

} // namespace quenyx::shell
