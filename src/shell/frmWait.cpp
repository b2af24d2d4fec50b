#include "shell/frmWait.h"

#include "widgets/Look.h"
#include "widgets/TitleStrip.h"
#include "widgets/TranslateForm.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>

#include <memory>

namespace quenyx::shell {

namespace {
std::unique_ptr<frmWait>& WaitSlot()
{
    static std::unique_ptr<frmWait> form;
    return form;
}

std::function<void(const QString&, bool)>& WaitObserver()
{
    static std::function<void(const QString&, bool)> observer;
    return observer;
}
} // namespace

frmWait::frmWait(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      brdTop_(new TitleStrip(this, 5580, 420, false)), lblMessage_(new QLabel(this))
{
    setObjectName(QStringLiteral("frmWait"));
    setWindowTitle(QStringLiteral("Quenyx Agent Admin"));
    setFixedSize(Px(5580), Px(2025));
    SetBackground(this, Qt::white);

    lblMessage_->setObjectName(QStringLiteral("lblMessage"));
    lblMessage_->setGeometry(Px(360), Px(840), Px(4815), Px(615));
    lblMessage_->setFont(DesignFont(9.75));
    lblMessage_->setWordWrap(true);

    auto* brdBottom = new QWidget(this);
    brdBottom->setObjectName(QStringLiteral("brdBottom"));
    brdBottom->setGeometry(0, Px(1900), Px(5580), Px(140));
    SetBackground(brdBottom, kTitleBlue);
}

frmWait::~frmWait() = default;

void frmWait::Load()
{
    modGlobalization::TranslateForm(this);
    lblMessage_->setText(msg);
}

void ShowWait(const QString& text)
{
    auto form = std::make_unique<frmWait>();
    form->msg = text;
    form->Load();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        form->move(screen->availableGeometry().center() - form->rect().center());
    form->show();
    // Painted now: the caller's blocking work follows at once and nothing repaints during it.
    form->repaint();
    QApplication::processEvents();
    WaitSlot() = std::move(form);
    if (WaitObserver())
        WaitObserver()(text, true);
}

void HideWait()
{
    if (auto& form = WaitSlot()) {
        form->close();
        form.reset();
        if (WaitObserver())
            WaitObserver()(QString(), false);
    }
}

void SetWaitObserverForTests(std::function<void(const QString&, bool)> observer)
{
    WaitObserver() = std::move(observer);
}

frmWait* waitForm()
{
    return WaitSlot().get();
}

} // namespace quenyx::shell
