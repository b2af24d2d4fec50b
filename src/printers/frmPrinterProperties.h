#pragma once

#include "printers/PrinterSwitches.h"
#include "widgets/DialogFrame.h"

#include <functional>
#include <memory>

class QCheckBox;
class QLabel;

namespace quenyx::printers {

class Printer;

// One printer's agent switches: accounting, secure printing and toner saving, each box checked when the feature
// is off for the printer. Set the inputs, call ShowModal; Apply writes the printer's values under
// `keyPrinters`\`queueName`.
class frmPrinterProperties final : public shell::DialogFrame
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmPrinterProperties)

public:
    explicit frmPrinterProperties(QWidget* parent = nullptr);
    ~frmPrinterProperties() override;

    QString queueName;
    QString ID = QStringLiteral("0");
    bool disableAccounts = false;
    bool Activate = false;
    QString keyPrinters; // this machine's spooler printers key until the caller sets a cluster's
    bool securePrintEnabled = false;
    bool disableSecurePrinter = false;
    bool disableEcoToner = false;

    // Loads the dialog from the inputs and shows it modally.
    void ShowModal();

    QLabel* queueNameValue() const { return lblQueueNameValue_; }
    QLabel* idValue() const { return lblIDValue_; }
    QCheckBox* billingBox() const { return chkBilling_; }
    QCheckBox* securePrintBox() const { return chkSecurePrint_; }
    QCheckBox* ecoTonerBox() const { return chkEcoToner_; }

    // Tests drive the loaded dialog here, shown without blocking, instead of in a modal loop.
    static void SetShowHandlerForTests(std::function<void(frmPrinterProperties&)> handler);

private:
    void Load();
    SwitchInputs Inputs() const;
    SwitchBoxes Boxes() const;
    void UpdateSecurePrintBox();
    void Apply();

    QLabel* lblQueueNameValue_;
    QLabel* lblID_;
    QLabel* lblIDValue_;
    QCheckBox* chkBilling_;
    QCheckBox* chkSecurePrint_;
    QCheckBox* chkEcoToner_;

    std::shared_ptr<Printer> printer_;
    bool initialBilling_ = false;
    bool initialSecurePrint_ = false;
};

} // namespace quenyx::printers
