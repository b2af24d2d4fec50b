#include "settings/frmInsert.h"

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

#include <QButtonGroup>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quenyx::settings {

using shell::Px;

namespace {

using modGlobalization::Text;

bool SameName(const std::string& a, const std::string& b)
{
    return platform::AsciiLower(a) == platform::AsciiLower(b);
}

template <typename Control> Control* Named(Control* control, const char* name)
{
    control->setObjectName(QString::fromLatin1(name));
    control->setFont(shell::DesignFont(9));
    return control;
}

} // namespace

frmInsert::frmInsert(QWidget* parent)
    : DialogFrame(QStringLiteral("frmInsert"), QStringLiteral("OKButton"), QStringLiteral("lblInsert"),
                  QStringLiteral("Inserir"), QStringLiteral("CancelButton"), parent),
      path(QString::fromLatin1(mod_Trace::AgentKey)), cboGeneralKeys_(Named(new QComboBox(this), "cboGeneralKeys")),
      txtDadosValor_(Named(new QLineEdit(this), "txtDadosValor")),
      txtDadosValorInteger_(Named(new QLineEdit(this), "txtDadosValorInteger")),
      OptTrue_(Named(new QRadioButton(QStringLiteral("Habilitar"), this), "OptTrue")),
      OptFalse_(Named(new QRadioButton(QStringLiteral("Desabilitar"), this), "OptFalse")),
      lblDescricao_(Named(new QLabel(this), "lblDescricao"))
{
    auto* label1 = Named(new QLabel(QStringLiteral("Insira o nome do valor de sequência e os dados e clique em "
                                                   "Inserir para gravar as informações no registro."),
                                    this),
                         "Label1");
    label1->setWordWrap(true);
    auto* label2 = Named(new QLabel(QStringLiteral("Nome do Valor de Sequência:"), this), "Label2");
    auto* label3 = Named(new QLabel(QStringLiteral("Dados do Valor de Sequência:"), this), "Label3");
    auto* lblDescription = Named(new QLabel(QStringLiteral("Descrição:"), this), "lblDescription");
    lblDescricao_->setWordWrap(true);
    modGlobalization::SetTag(label1, "InsertNameAndValueToSaveInRegistry");
    // Each box is announced by the caption above it.
    label2->setBuddy(cboGeneralKeys_);
    label3->setBuddy(txtDadosValor_);
    modGlobalization::SetTag(label2, "Name:");
    modGlobalization::SetTag(label3, "Value:");
    modGlobalization::SetTag(OptTrue_, "Enable");
    modGlobalization::SetTag(OptFalse_, "Disable");
    modGlobalization::SetTag(lblDescription, "Description:");
    modGlobalization::SetTag(actionButton()->label(), "ToInsert");

    // A name may be typed as well as picked, and is taken as typed: no completion, no new list entries.
    cboGeneralKeys_->setEditable(true);
    cboGeneralKeys_->setCompleter(nullptr);
    cboGeneralKeys_->setInsertPolicy(QComboBox::NoInsert);
    // Typing a listed name and leaving the box would select that entry; only a pick from the list chooses.
    QObject::disconnect(cboGeneralKeys_->lineEdit(), &QLineEdit::editingFinished, cboGeneralKeys_, nullptr);
    cboGeneralKeys_->hide();
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

    body()->addWidget(label1);
    body()->addSpacing(Px(120));
    body()->addWidget(label2);
    body()->addWidget(cboGeneralKeys_);
    body()->addSpacing(Px(60));
    body()->addWidget(label3);
    body()->addLayout(valuePlace);
    body()->addSpacing(Px(120));
    body()->addWidget(lblDescription);
    body()->addWidget(lblDescricao_);
    const int inputHeight = txtDadosValor_->sizeHint().height();
    for (QWidget* input : std::initializer_list<QWidget*>{txtDadosValor_, txtDadosValorInteger_, OptTrue_, OptFalse_})
        input->setFixedHeight(inputHeight);

    connect(cboGeneralKeys_, &QComboBox::activated, this, &frmInsert::GeneralKeyChosen);
    connect(actionButton(), &shell::PanelButton::clicked, this, &frmInsert::Store);
}

frmInsert::~frmInsert() = default;

void frmInsert::SetShowHandlerForTests(std::function<void(frmInsert&)> handler)
{
    shell::ModalHook<frmInsert>::Set(std::move(handler));
}

void frmInsert::ShowModal()
{
    Load();
    shell::ModalHook<frmInsert>::Run(*this);
}

void frmInsert::Load()
{
    for (const auto& entry : SettingCatalog()) {
        bool held = false;
        for (const auto& known : KnownGeneralKeys())
            held = held || SameName(known->Key(), entry->Key());
        if (!held)
            cboGeneralKeys_->addItem(QString::fromStdString(entry->Key()));
    }
    // Nothing is chosen until the administrator picks or types a name.
    cboGeneralKeys_->setCurrentIndex(-1);
    cboGeneralKeys_->show();
    modGlobalization::TranslateForm(this);
    FitHeight();
}

void frmInsert::GeneralKeyChosen()
{
    std::string type;
    const std::string chosen = cboGeneralKeys_->currentText().toStdString();
    for (const auto& entry : SettingCatalog()) {
        if (SameName(entry->Key(), chosen)) {
            type = entry->ValueType();
            lblDescricao_->setText(QString::fromStdString(entry->Description()));
        }
    }
    const bool boolean = type == "Boolean";
    const bool integer = type == "Integer";
    txtDadosValor_->setHidden(boolean || integer);
    txtDadosValorInteger_->setVisible(integer);
    findChild<QLabel*>(QStringLiteral("Label3"))->setBuddy(integer ? txtDadosValorInteger_ : txtDadosValor_);
    OptTrue_->setVisible(boolean);
    OptFalse_->setVisible(boolean);
    if (boolean)
        OptTrue_->setChecked(true);
    FitHeight();
}

void frmInsert::Store()
{
    const QString name = cboGeneralKeys_->currentText();
    if (name.isEmpty()) {
        shell::ShowMessage(Text("ChooseSequenceValueName"), this);
        return;
    }
    QString value;
    if (!txtDadosValor_->isHidden() || !txtDadosValorInteger_->isHidden()) {
        value = txtDadosValor_->isHidden() ? txtDadosValorInteger_->text() : txtDadosValor_->text();
        if (value.isEmpty()) {
            shell::ShowMessage(Text("InsertSequenceValueData"), this);
            return;
        }
    } else {
        value = OptTrue_->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    }

    const auto status =
        mod_RegWin::SaveSettingString(mod_RegWin::HKLM, path.toStdString(), name.toStdString(), value.toStdString());
    if (status == platform::reg_error::AccessDenied)
        shell::ShowMessage(Text("DeniedAccess") + QStringLiteral("\r\n") + Text("QuenyxRunAsAdminInWin7"), this);
    mod_Main::setConfigsAltered(true);
    accept();
}

} // namespace quenyx::settings
