#include "settings/frmAlter.h"

#include "platform/Registry.h"
#include "platform/Text.h"
#include "platform/modGlobalization.h"
#include "platform/mod_RegWin.h"
#include "platform/mod_Trace.h"
#include "session/mod_Main.h"
#include "settings/AgentSettings.h"
#include "settings/SettingRules.h"
#include "widgets/IntegerKeyFilter.h"
#include "widgets/Look.h"
#include "widgets/MessageBox.h"
#include "widgets/ModalHook.h"
#include "widgets/PanelButton.h"
#include "widgets/TranslateForm.h"

#include <QApplication>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quenyx::settings {

using shell::Px;

namespace {

using modGlobalization::Text;

template <typename Control> Control* Named(Control* control, const char* name)
{
    control->setObjectName(QString::fromLatin1(name));
    control->setFont(shell::DesignFont(9));
    return control;
}

} // namespace

frmAlter::frmAlter(QWidget* parent)
    : DialogFrame(QStringLiteral("frmAlter"), QStringLiteral("OKButton"), QStringLiteral("lblAlter"),
                  QStringLiteral("Alterar"), QStringLiteral("CancelButton"), parent),
      path(QString::fromLatin1(mod_Trace::AgentKey)), txtNomeValor_(Named(new QLineEdit(this), "txtNomeValor")),
      txtDadosValor_(Named(new QLineEdit(this), "txtDadosValor")),
      txtDadosValorInteger_(Named(new QLineEdit(this), "txtDadosValorInteger")),
      OptTrue_(Named(new QRadioButton(QStringLiteral("Habilitar"), this), "OptTrue")),
      OptFalse_(Named(new QRadioButton(QStringLiteral("Desabilitar"), this), "OptFalse")),
      lblDescriptionName_(Named(new QLabel(QStringLiteral("Descrição:"), this), "lblDescriptionName")),
      lblDescriptionValue_(Named(new QLabel(this), "lblDescriptionValue"))
{
    auto* description = Named(new QLabel(QStringLiteral("Insira os novos dados e clique em Alterar para gravar as "
                                                        "informações no registro."),
                                         this),
                              "lblWindowDescription");
    description->setWordWrap(true);
    auto* lblName = Named(new QLabel(QStringLiteral("Nome do Valor de Sequência:"), this), "lblName");
    auto* lblValue = Named(new QLabel(QStringLiteral("Dados do Valor de Sequência:"), this), "lblValue");
    lblDescriptionValue_->setWordWrap(true);
    modGlobalization::SetTag(description, "InsertDataToSaveInRegistry");
    // Each box is announced by the caption above it.
    lblName->setBuddy(txtNomeValor_);
    lblValue->setBuddy(txtDadosValor_);
    modGlobalization::SetTag(lblName, "Name:");
    modGlobalization::SetTag(lblValue, "Value:");
    modGlobalization::SetTag(OptTrue_, "Enable");
    modGlobalization::SetTag(OptFalse_, "Disable");
    modGlobalization::SetTag(lblDescriptionName_, "Description:");
    modGlobalization::SetTag(actionButton()->label(), "ToChange");

    // The name is shown, never edited: a store always writes under `Value`.
    txtNomeValor_->setReadOnly(true);
    QPalette locked = txtNomeValor_->palette();
    locked.setColor(QPalette::Base, QApplication::palette().color(QPalette::Button));
    txtNomeValor_->setPalette(locked);
    shell::IntegerKeyFilter::Install(txtDadosValorInteger_, &IsIntegerCharacter);
    auto* options = new QButtonGroup(this);
    options->addButton(OptTrue_);
    options->addButton(OptFalse_);
    OptTrue_->setChecked(true);

    // The three kinds of input share one place; exactly one of them is shown.
    auto* valuePlace = new QHBoxLayout;
    valuePlace->setSpacing(Px(300));
    valuePlace->addWidget(txtDadosValor_, 1);
    valuePlace->addWidget(txtDadosValorInteger_, 1);
    valuePlace->addWidget(OptTrue_);
    valuePlace->addWidget(OptFalse_);
    valuePlace->addStretch();
    txtDadosValorInteger_->hide();
    OptTrue_->hide();
    OptFalse_->hide();

    body()->addWidget(description);
    body()->addSpacing(Px(120));
    body()->addWidget(lblName);
    body()->addWidget(txtNomeValor_);
    body()->addSpacing(Px(60));
    body()->addWidget(lblValue);
    body()->addLayout(valuePlace);
    body()->addSpacing(Px(120));
    body()->addWidget(lblDescriptionName_);
    body()->addWidget(lblDescriptionValue_);
    const int inputHeight = txtDadosValor_->sizeHint().height();
    for (QWidget* input : std::initializer_list<QWidget*>{txtDadosValor_, txtDadosValorInteger_, OptTrue_, OptFalse_})
        input->setFixedHeight(inputHeight);

    connect(actionButton(), &shell::PanelButton::clicked, this, &frmAlter::Store);
}

frmAlter::~frmAlter() = default;

void frmAlter::SetShowHandlerForTests(std::function<void(frmAlter&)> handler)
{
    shell::ModalHook<frmAlter>::Set(std::move(handler));
}

void frmAlter::ShowModal()
{
    Load();
    shell::ModalHook<frmAlter>::Run(*this);
}

void frmAlter::Load()
{
    txtNomeValor_->setText(Value);
    const std::string name = platform::AsciiLower(Value.toStdString());
    for (const auto& known : KnownGeneralKeys()) {
        if (platform::AsciiLower(known->Key()) != name)
            continue;
        const std::string type = known->ValueType();
        if (type == "Boolean") {
            txtDadosValor_->hide();
            txtDadosValorInteger_->hide();
            OptFalse_->show();
            OptTrue_->show();
            (data == QLatin1String("1") ? OptTrue_ : OptFalse_)->setChecked(true);
        } else if (type == "Integer") {
            txtDadosValor_->hide();
            txtDadosValorInteger_->show();
            findChild<QLabel*>(QStringLiteral("lblValue"))->setBuddy(txtDadosValorInteger_);
            txtDadosValorInteger_->setText(data);
        } else {
            txtDadosValor_->setText(data);
        }
        lblDescriptionValue_->setText(QString::fromStdString(known->Description()));
    }
    if (lblDescriptionValue_->text().isEmpty())
        lblDescriptionName_->hide();
    // Also for the types shown in another input: the store's empty-value test looks at this box.
    txtDadosValor_->setText(data);
    modGlobalization::TranslateForm(this);
    FitHeight();
}

void frmAlter::Store()
{
    if (txtDadosValor_->text().isEmpty()) {
        shell::ShowMessage(Text("InsertSequenceValueData"), this);
        return;
    }
    QString value;
    if (!txtDadosValor_->isHidden())
        value = txtDadosValor_->text();
    else if (!txtDadosValorInteger_->isHidden())
        value = txtDadosValorInteger_->text(); // empty too: the value then has no data and leaves the list
    else
        value = OptTrue_->isChecked() ? QStringLiteral("1") : QStringLiteral("0");

    const auto status = mod_RegWin::SaveSettingString(mod_RegWin::HKLM, path.toStdString(),
                                                      txtNomeValor_->text().toStdString(), value.toStdString());
    if (status == platform::reg_error::AccessDenied)
        shell::ShowMessage(Text("DeniedAccess"), this);
    mod_Main::setConfigsAltered(true);
    accept();
}

} // namespace quenyx::settings
