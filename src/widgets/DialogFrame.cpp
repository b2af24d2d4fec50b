#include "widgets/DialogFrame.h"

#include "widgets/Look.h"
#include "widgets/PanelButton.h"
#include "widgets/TitleStrip.h"
#include "widgets/TranslateForm.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace quenyx::shell {

namespace {
constexpr int kWidthTwips = 7200;
constexpr int kMarginTwips = 300;
} // namespace

DialogFrame::DialogFrame(const QString& formName, const QString& actionPanel, const QString& actionLabel,
                         const QString& actionCaption, const QString& cancelPanel, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), brdTop_(new TitleStrip(this, kWidthTwips, 420, true)),
      body_(new QVBoxLayout), action_(new PanelButton(actionPanel, actionLabel, actionCaption, this)),
      cancel_(new PanelButton(cancelPanel, QStringLiteral("lblCancel"), QStringLiteral("Cancelar"), this))
{
    setObjectName(formName);
    setWindowTitle(QStringLiteral("Quenyx Agent Admin"));
    setModal(true);
    SetBackground(this, Qt::white);
    brdTop_->setFixedSize(brdTop_->size());

    // The two looks of the close button, kept as the design keeps them: in hidden pictures.
    auto* selected = new QLabel(this);
    selected->setObjectName(QStringLiteral("btnCloseSelected"));
    selected->setPixmap(Image(QStringLiteral("close_pressed"), 16, 16, this));
    selected->hide();
    auto* unselected = new QLabel(this);
    unselected->setObjectName(QStringLiteral("btnCloseUnselected"));
    unselected->setPixmap(Image(QStringLiteral("close"), 16, 16, this));
    unselected->hide();

    const int margin = Px(kMarginTwips);
    body_->setContentsMargins(margin, Px(240), margin, 0);
    body_->setSpacing(Px(60));

    for (PanelButton* button : {action_, cancel_})
        button->setFixedSize(Px(1400), Px(400));
    modGlobalization::SetTag(cancel_->label(), "Cancel");
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(margin, Px(300), margin, Px(240));
    buttons->setSpacing(Px(150));
    buttons->addStretch();
    buttons->addWidget(action_);
    buttons->addWidget(cancel_);

    auto* brdBottom = new QWidget(this);
    brdBottom->setObjectName(QStringLiteral("brdBottom"));
    brdBottom->setFixedHeight(Px(140));
    SetBackground(brdBottom, kTitleBlue);

    auto* frame = new QVBoxLayout(this);
    frame->setContentsMargins(0, 0, 0, 0);
    frame->setSpacing(0);
    frame->addWidget(brdTop_);
    frame->addLayout(body_);
    frame->addStretch();
    frame->addLayout(buttons);
    frame->addWidget(brdBottom);

    connect(cancel_, &PanelButton::clicked, this, &QDialog::reject);
    connect(brdTop_, &TitleStrip::closeClicked, this, &QDialog::reject);
    FitHeight();
}

DialogFrame::~DialogFrame() = default;

void DialogFrame::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    std::vector<QWidget*> chain;
    for (QWidget* child : findChildren<QWidget*>())
        if ((child->focusPolicy() & Qt::TabFocus) && child->isVisibleTo(this) && child->isEnabled())
            chain.push_back(child);
    const auto place = [this](const QWidget* widget) { return widget->mapTo(this, QPoint(0, 0)); };
    std::stable_sort(chain.begin(), chain.end(), [&](const QWidget* a, const QWidget* b) {
        const QPoint pa = place(a), pb = place(b);
        return pa.y() != pb.y() ? pa.y() < pb.y() : pa.x() < pb.x();
    });
    for (std::size_t i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}

void DialogFrame::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && event->modifiers() == Qt::NoModifier) {
        emit action_->clicked();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

ClickableLabel* DialogFrame::closeButton() const
{
    return brdTop_->closeButton();
}

void DialogFrame::FitHeight()
{
    const int width = Px(kWidthTwips);
    layout()->invalidate();
    const int height =
        layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(width) : layout()->totalSizeHint().height();
    setFixedSize(width, height);
}

} // namespace quenyx::shell
