#pragma once

#include <QDialog>

#include <functional>

class QLabel;

namespace quenyx::shell {
class PanelButton;
class TitleStrip;
} // namespace quenyx::shell

namespace quenyx::options {

// The console's About box: the product, the agent's version and installation type, and a way to the system
// information tool.
class frmAbout final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmAbout)

public:
    explicit frmAbout(QWidget* parent = nullptr);
    ~frmAbout() override;

    // Loads the version and installation-type lines, translates the captions and shows the box modally.
    void ShowModal();

    // Puts the installation type recorded by the agent's installer into lblInstallType.
    void VerifyInstallType();
    // Starts the system information tool found through the registry, or says that there is none.
    void StartSysInfo();

    // Tests get the loaded box here, shown without blocking, instead of a modal window; it is closed afterwards.
    static void SetShowHandlerForTests(std::function<void(frmAbout&)> handler);

private:
    void Load();

    shell::TitleStrip* brdTop_;
    QLabel* lblVersion_ = nullptr;
    QLabel* lblInstallType_ = nullptr;
    shell::PanelButton* cmdOK_ = nullptr;
    shell::PanelButton* cmdSysInfo_ = nullptr;
};

} // namespace quenyx::options
