#include "settings/frmYesNo.h"

#include "widgets/Look.h"
#include "widgets/PanelButton.h"
#include "widgets/TitleStrip.h"
#include "widgets/TranslateForm.h"

#include <QLabel>

namespace quenyx::settings {

using shell::Px;

namespace {
std::function<bool(frmYesNo&)>& AnswerHandler()
{
    static std::function<bool(frmYesNo&)> handler;
    return handler;
}
} // namespace

frmYesNo::frmYesNo(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), brdTop_(new shell::TitleStrip(this, 6300, 420, false)),
      picture1_(new QLabel(this)), lblDescription_(new QLabel(this)),
      btnYes_(new shell::PanelButton(QStringLiteral("btnYes"), QStringLiteral("lblYes"), QStringLiteral("Sim"), this)),
      btnNo_(new shell::PanelButton(QStringLiteral("btnNo"), QStringLiteral("lblNo"), QStringLiteral("Não"), this))
{
    setObjectName(QStringLiteral("frmYesNo"));
    setWindowTitle(QStringLiteral("Quenyx Agent Admin"));
    setModal(true);
    setFixedSize(Px(6300), Px(2700));
    shell::SetBackground(this, Qt::white);

    picture1_->setObjectName(QStringLiteral("Picture1"));
    picture1_->setGeometry(Px(300), Px(820), 32, 32);
    picture1_->setPixmap(shell::Image(QStringLiteral("question"), 32, 32, this));

    lblDescription_->setObjectName(QStringLiteral("lblDescription"));
    lblDescription_->setGeometry(Px(1020), Px(600), Px(4980), Px(1000));
    lblDescription_->setAlignment(Qt::AlignCenter);
    lblDescription_->setWordWrap(true);
    lblDescription_->setFont(shell::DesignFont(9));
    lblDescription_->setAttribute(Qt::WA_TranslucentBackground);

    btnYes_->setGeometry(Px(1500), Px(1850), Px(1400), Px(400));
    btnNo_->setGeometry(Px(3400), Px(1850), Px(1400), Px(400));
    modGlobalization::SetTag(btnYes_->label(), "Yes");
    modGlobalization::SetTag(btnNo_->label(), "No");
    connect(btnYes_, &shell::PanelButton::clicked, this, [this] { Answer(true); });
    connect(btnNo_, &shell::PanelButton::clicked, this, [this] { Answer(false); });

    auto* brdBottom = new QWidget(this);
    brdBottom->setObjectName(QStringLiteral("brdBottom"));
    brdBottom->setGeometry(0, Px(2560), Px(6300), Px(140));
    shell::SetBackground(brdBottom, shell::kTitleBlue);
}

frmYesNo::~frmYesNo() = default;

void frmYesNo::Load()
{
    result = false;
    lblDescription_->setText(message);
    modGlobalization::TranslateForm(this);
}

void frmYesNo::ShowModal()
{
    Load();
    if (AnswerHandler()) {
        Answer(AnswerHandler()(*this));
        return;
    }
    exec();
}

void frmYesNo::Answer(bool yes)
{
    result = yes;
    done(yes ? Accepted : Rejected);
}

void frmYesNo::SetAnswerHandlerForTests(std::function<bool(frmYesNo&)> handler)
{
    AnswerHandler() = std::move(handler);
}

} // namespace quenyx::settings
