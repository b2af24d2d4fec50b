#pragma once

#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quenyx::shell {
class ClickableLabel;
class PanelButton;
class TitleStrip;
class WrappingCheckBox;
} // namespace quenyx::shell

namespace quenyx::options {

// The trace level of each agent component with the folder of their log files (the trace page), and the agent's
// secure printing with its releaser server (the secure-print page). Set `selectedTab`, call ShowModal.
class frmOptions final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmOptions)

public:
    explicit frmOptions(QWidget* parent = nullptr);
    ~frmOptions() override;

    // The page shown: 1 secure print, 2 trace. Set by the caller, and by the tab headers.
    std::int16_t selectedTab = 2;
    // A level of the Listener or the Sender, or a folder, was chosen; the load's own choices count, so every OK
    // that passes its checks marks the agent's configuration as changed.
    bool settingsChanged = false;

    // Loads the dialog from the agent key and the trace files, and shows it modally.
    void ShowModal();

    // frmTab(0) is the secure-print page, frmTab(1) the trace page.
    QWidget* frmTab(int index) const { return frmTab_.at(static_cast<std::size_t>(index)); }

    // Tests get the loaded dialog here, shown without blocking, instead of a modal window; OK or Cancel close it as
    // usual, and a dialog the handler leaves open is closed as by Cancel.
    static void SetShowHandlerForTests(std::function<void(frmOptions&)> handler);

private:
    struct Component
    {
        QLabel* label = nullptr;
        QComboBox* list = nullptr;
        std::string path;      // empty: not used on this installation (the Watcher)
        bool readable = false; // read at load; a file that was not is never written
    };

    void BuildTracePage(QWidget* page);
    void BuildSecurePrintPage(QWidget* page);
    void Load();
    void ReadComponent(std::size_t index, std::string& baseFile);
    void ChooseRow(std::size_t index, int row);
    void RowChosen(std::size_t index);
    void ShowSelectedTab();
    void UpdateSecurePrintPanel();
    void BrowseTracePath();
    void Ok();

    shell::TitleStrip* brdTop_;
    shell::ClickableLabel* pbTrace_;
    QLabel* lblTraceTab_;
    shell::ClickableLabel* pbPrintSecure_;
    QLabel* lblPrintSecure_;
    std::array<QWidget*, 2> frmTab_{};
    // In the order of mod_Trace::kTraceComponents.
    std::array<Component, 7> components_{};
    QLabel* lblWarningWatcher_ = nullptr;
    QLineEdit* txtTracePath_ = nullptr;
    QPushButton* btnTracePath_ = nullptr;
    QCheckBox* chkPrintSecureEnable_ = nullptr;
    QWidget* frmPrintSecureOptions_ = nullptr;
    shell::WrappingCheckBox* chkSecurePrintChoiceEnabled_ = nullptr;
    QLabel* lblReleaserAddress_ = nullptr;
    QLineEdit* txtReleaserAddress_ = nullptr;
    QLabel* lblSecurePrintWarning_ = nullptr;
    shell::PanelButton* btnOK_ = nullptr;
    shell::PanelButton* btnCancel_ = nullptr;
};

} // namespace quenyx::options
