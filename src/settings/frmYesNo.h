#pragma once

#include <QDialog>

#include <functional>
#include <optional>

class QLabel;

namespace quenyx::shell {
class PanelButton;
class TitleStrip;
} // namespace quenyx::shell

namespace quenyx::settings {

// The console's modal yes/no question. Set `message`, call ShowModal, read `result`.
class frmYesNo final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmYesNo)

public:
    explicit frmYesNo(QWidget* parent = nullptr);
    ~frmYesNo() override;

    QString message;
    bool result = false;

    // Loads the dialog (result false, the question shown, captions translated) and shows it modally.
    void ShowModal();

    shell::PanelButton* yesButton() const { return btnYes_; }
    shell::PanelButton* noButton() const { return btnNo_; }
    QLabel* description() const { return lblDescription_; }

    // Tests answer the question here instead of in a modal window; the handler sees the loaded dialog.
    static void SetAnswerHandlerForTests(std::function<bool(frmYesNo&)> handler);

private:
    void Load();
    void Answer(bool yes);

    shell::TitleStrip* brdTop_;
    QLabel* picture1_;
    QLabel* lblDescription_;
    shell::PanelButton* btnYes_;
    shell::PanelButton* btnNo_;
};

} // namespace quenyx::settings
