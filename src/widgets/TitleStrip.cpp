#include "widgets/TitleStrip.h"

#include "widgets/Accessibility.h"
#include "widgets/KeyboardGroup.h"

#include "widgets/Look.h"

#include <QMouseEvent>

namespace quenyx::shell {

void ClickableLabel::mousePressEvent(QMouseEvent* event)
{
    emit pressed();
    event->accept();
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event)
{
    emit released();
    if (rect().contains(event->position().toPoint()))
        emit clicked();
    event->accept();
}

void ClickableLabel::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (KeyboardGroup::ShowsFocus(this))
        DrawFocusFrame(this, rect().adjusted(2, 2, -2, -2));
}

void ClickableLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    emit doubleClicked();
    event->accept();
}

TitleStrip::TitleStrip(QWidget* window, int widthTwips, int heightTwips, bool withCloseButton)
    : QWidget(window), window_(window)
{
    InstallAccessibility();
    setObjectName(QStringLiteral("brdTop"));
    setGeometry(0, 0, Px(widthTwips), Px(heightTwips));
    SetBackground(this, kTitleBlue);

    picture2_ = new QLabel(this);
    picture2_->setObjectName(QStringLiteral("Picture2"));
    picture2_->setGeometry(Px(120), Px(85), 16, 16);
    picture2_->setPixmap(Image(QStringLiteral("logo"), 16, 16, this));

    lblWindowTitle_ = new QLabel(QStringLiteral("Quenyx Agent Admin"), this);
    lblWindowTitle_->setObjectName(QStringLiteral("lblWindowTitle"));
    lblWindowTitle_->setGeometry(Px(500), Px(100), Px(2655), Px(255));
    lblWindowTitle_->setFont(DesignFont(9, true));
    SetTextColour(lblWindowTitle_, Qt::white);
    lblWindowTitle_->setAttribute(Qt::WA_TransparentForMouseEvents);

    if (withCloseButton) {
        btnClose_ = new ClickableLabel(this);
        btnClose_->setObjectName(QStringLiteral("btnClose"));
        btnClose_->setGeometry(width() - Px(375), Px(90), 16, 16);
        const QPixmap normal = Image(QStringLiteral("close"), 16, 16, this);
        const QPixmap pressed = Image(QStringLiteral("close_pressed"), 16, 16, this);
        btnClose_->setPixmap(normal);
        connect(btnClose_, &ClickableLabel::pressed, btnClose_, [this, pressed] { btnClose_->setPixmap(pressed); });
        connect(btnClose_, &ClickableLabel::released, btnClose_, [this, normal] { btnClose_->setPixmap(normal); });
        connect(btnClose_, &ClickableLabel::clicked, this, &TitleStrip::closeClicked);
    }
}

void TitleStrip::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        dragOffset_ = event->globalPosition().toPoint() - window_->frameGeometry().topLeft();
}

void TitleStrip::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton)
        window_->move(event->globalPosition().toPoint() - dragOffset_);
}

} // namespace quenyx::shell
