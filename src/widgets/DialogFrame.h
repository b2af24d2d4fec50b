#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QVBoxLayout;

namespace quenyx::shell {

class ClickableLabel;
class PanelButton;
class TitleStrip;

// The frame of the console's editing dialogs: a borderless white window of one width with the title strip and
// its close button, a body for the form's own controls, and the action and Cancel buttons at the bottom right.
// The close button and Cancel (panel or label) close the dialog and do nothing else.
class DialogFrame : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DialogFrame)

public:
    ~DialogFrame() override;

    TitleStrip* titleStrip() const { return brdTop_; }
    ClickableLabel* closeButton() const;
    PanelButton* actionButton() const { return action_; }
    PanelButton* cancelButton() const { return cancel_; }

protected:
    // `cancelPanel` names the Cancel panel; its label is always "lblCancel".
    DialogFrame(const QString& formName, const QString& actionPanel, const QString& actionLabel,
                const QString& actionCaption, const QString& cancelPanel, QWidget* parent);

    // The form's controls, top to bottom.
    QVBoxLayout* body() const { return body_; }

    // Fits the height to the contents at the fixed width; run whenever captions or texts may have changed.
    void FitHeight();

    // Tab in reading order, the panel buttons last; Enter outside them is the action, Escape is Cancel.
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    TitleStrip* brdTop_;
    QVBoxLayout* body_;
    PanelButton* action_;
    PanelButton* cancel_;
};

} // namespace quenyx::shell
