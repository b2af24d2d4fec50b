#include "printers/frmPrinterProperties.h"

#include "platform/Registry.h"
#include "platform/modGlobalization.h"
#include "platform/mod_RegWin.h"
#include "printers/Printer.h"
#include "printers/PrinterSwitches.h"
#include "printers/mod_Printers.h"
#include "session/mod_Main.h"
#include "widgets/Look.h"
#include "widgets/MessageBox.h"
#include "widgets/ModalHook.h"
#include "widgets/PanelButton.h"
#include "widgets/TranslateForm.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace quenyx::printers {

using shell::Px;

namespace {

using modGlobalization::Text;

QCheckBox* NewBox(const QString& name, const QString& caption, QWidget* parent)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    box->setFont(shell::DesignFont(9));
    return box;
}

} // namespace

frmPrinterProperties::frmPrinterProperties(QWidget* parent)
    : DialogFrame(QStringLiteral("frmPrinterProperties"), QStringLiteral("btnOK"), QStringLiteral("lblApply"),
                  QStringLiteral("Aplicar"), QStringLiteral("btnCancel"), parent),
      keyPrinters(QString::fromLatin1(mod_Printers::SpoolerPrintersKey)), lblQueueNameValue_(new QLabel(this)),
      lblID_(new QLabel(QStringLiteral("Identificador local:"), this)), lblIDValue_(new QLabel(this)),
      chkBilling_(NewBox(QStringLiteral("chkBilling"), QStringLiteral("Desabilitar contabilização"), this)),
      chkSecurePrint_(NewBox(QStringLiteral("chkSecurePrint"), QStringLiteral("Desabilitar impressão segura"), this)),
      chkEcoToner_(NewBox(QStringLiteral("chkEcoToner"), QStringLiteral("Desabilitar EcoToner"), this))
{
    auto* picPrinter = new QLabel(this);
    picPrinter->setObjectName(QStringLiteral("picPrinter"));
    picPrinter->setPixmap(shell::Image(QStringLiteral("nav_printers"), 32, 32, this));
    picPrinter->setFixedSize(32, 32);

    lblQueueNameValue_->setObjectName(QStringLiteral("lblQueueNameValue"));
    lblQueueNameValue_->setFont(shell::DesignFont(10, true));
    lblQueueNameValue_->setWordWrap(true);
    lblID_->setObjectName(QStringLiteral("lblID"));
    lblID_->setFont(shell::DesignFont(9));
    shell::SetTextColour(lblID_, shell::kLabelGrey);
    lblIDValue_->setObjectName(QStringLiteral("lblIDValue"));
    lblIDValue_->setFont(shell::DesignFont(9));

    modGlobalization::SetTag(lblID_, "LocalIdentifier:");
    modGlobalization::SetTag(chkBilling_, "BillingDisable");
    modGlobalization::SetTag(chkSecurePrint_, "DisableSecurePrint");
    modGlobalization::SetTag(chkEcoToner_, "DisablePoupaToner");
    modGlobalization::SetTag(actionButton()->label(), "Apply");

    auto* nameRow = new QHBoxLayout;
    nameRow->setSpacing(Px(150));
    nameRow->addWidget(picPrinter, 0, Qt::AlignTop);
    auto* names = new QVBoxLayout;
    names->setSpacing(Px(30));
    names->addWidget(lblQueueNameValue_);
    auto* idRow = new QHBoxLayout;
    idRow->addWidget(lblID_);
    idRow->addWidget(lblIDValue_, 1);
    names->addLayout(idRow);
    nameRow->addLayout(names, 1);

    body()->addLayout(nameRow);
    body()->addSpacing(Px(180));
    for (QCheckBox* box : {chkBilling_, chkSecurePrint_, chkEcoToner_})
        body()->addWidget(box);

    connect(chkBilling_, &QCheckBox::toggled, this, &frmPrinterProperties::UpdateSecurePrintBox);
    connect(actionButton(), &shell::PanelButton::clicked, this, &frmPrinterProperties::Apply);
}

frmPrinterProperties::~frmPrinterProperties() = default;

void frmPrinterProperties::SetShowHandlerForTests(std::function<void(frmPrinterProperties&)> handler)
{
    shell::ModalHook<frmPrinterProperties>::Set(std::move(handler));
}

void frmPrinterProperties::ShowModal()
{
    Load();
    shell::ModalHook<frmPrinterProperties>::Run(*this);
}

void frmPrinterProperties::Load()
{
    lblIDValue_->setText(ID);
    lblQueueNameValue_->setText(queueName);
    if (!mod_Main::ecoTonerEnabled())
        chkEcoToner_->hide();
    // The caller names a printer of its list, so a missing record is a printer that went away meanwhile: it is
    // shown with neither switch set, and Apply writes its values but has no record to update.
    printer_ = mod_Printers::GetPrinterByName(queueName.toStdString());
    const SwitchBoxes boxes = LoadSwitchBoxes(Inputs());
    chkBilling_->setEnabled(boxes.billing.enabled);
    chkBilling_->setChecked(boxes.billing.checked);
    chkEcoToner_->setChecked(boxes.ecoToner.checked);
    UpdateSecurePrintBox();
    modGlobalization::TranslateForm(this);
    FitHeight();
    initialBilling_ = chkBilling_->isChecked();
    initialSecurePrint_ = chkSecurePrint_->isChecked();
}

SwitchInputs frmPrinterProperties::Inputs() const
{
    return {disableAccounts,
            Activate,
            securePrintEnabled,
            disableSecurePrinter,
            disableEcoToner,
            printer_ && printer_->serverDisabled(),
            printer_ && printer_->localDisabled()};
}

SwitchBoxes frmPrinterProperties::Boxes() const
{
    const auto box = [](const QCheckBox* check) { return SwitchBox{check->isChecked(), check->isEnabled()}; };
    return {box(chkBilling_), box(chkSecurePrint_), box(chkEcoToner_)};
}

void frmPrinterProperties::UpdateSecurePrintBox()
{
    SwitchBoxes boxes = Boxes();
    printers::UpdateSecurePrintBox(boxes, Inputs());
    chkSecurePrint_->setChecked(boxes.securePrint.checked);
    chkSecurePrint_->setEnabled(boxes.securePrint.enabled);
}

void frmPrinterProperties::Apply()
{
    const std::string printerKey = (keyPrinters + QLatin1Char('\\') + queueName).toStdString();
    std::int32_t status = platform::reg_error::Success;
    const SwitchInputs inputs = Inputs();
    const SwitchBoxes boxes = Boxes();
    if (printer_)
        printer_->setLocalDisabled(boxes.billing.checked);
    bool tonerWritten = false;
    for (const SwitchWrite& write : ApplyWrites(inputs, boxes)) {
        status = mod_RegWin::SaveSettingString(mod_RegWin::HKLM, printerKey, write.name, write.text);
        tonerWritten = tonerWritten || write.name == "DisableEcoToner";
    }
    if (status == platform::reg_error::AccessDenied)
        shell::ShowMessage(Text("NoPermissionPrinterProperties"), this);
    else if (chkSecurePrint_->isChecked() != initialSecurePrint_ || chkBilling_->isChecked() != initialBilling_ ||
             tonerWritten)
        mod_Main::setConfigsAltered(true);
    accept();
}

} // namespace quenyx::printers
