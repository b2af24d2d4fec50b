#pragma once

#include "widgets/DialogFrame.h"

#include <functional>

class QLabel;
class QLineEdit;
class QRadioButton;

namespace quenyx::settings {

// Changes the text of one value of the agent key, in the input its catalog type asks for (plain text for a
// value outside the catalog). Set `path`, `Value` (the value's name) and `data` (its text), call ShowModal; a
// store writes under `path` and sets configsAltered, whatever the registry answered.
class frmAlter final : public shell::DialogFrame
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmAlter)

public:
    explicit frmAlter(QWidget* parent = nullptr);
    ~frmAlter() override;

    QString path;
    QString Value;
    QString data;

    // Lays the dialog out for the value's type and shows it modally.
    void ShowModal();

    QLineEdit* name() const { return txtNomeValor_; }
    QLineEdit* textValue() const { return txtDadosValor_; }
    QLineEdit* integerValue() const { return txtDadosValorInteger_; }
    QRadioButton* optTrue() const { return OptTrue_; }
    QRadioButton* optFalse() const { return OptFalse_; }
    QLabel* descriptionName() const { return lblDescriptionName_; }
    QLabel* descriptionValue() const { return lblDescriptionValue_; }

    // Tests drive the loaded dialog here, shown without blocking, instead of in a modal loop.
    static void SetShowHandlerForTests(std::function<void(frmAlter&)> handler);

private:
    void Load();
    void Store();

    QLineEdit* txtNomeValor_;
    QLineEdit* txtDadosValor_;
    QLineEdit* txtDadosValorInteger_;
    QRadioButton* OptTrue_;
    QRadioButton* OptFalse_;
    QLabel* lblDescriptionName_;
    QLabel* lblDescriptionValue_;
};

} // namespace quenyx::settings
