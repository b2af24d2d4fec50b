#pragma once

#include "widgets/DialogFrame.h"

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace quenyx::settings {

// Adds one of the catalog settings the agent key lacks. Set `path`, call ShowModal; a store writes the value
// under `path` and sets configsAltered, whatever the registry answered.
class frmInsert final : public shell::DialogFrame
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmInsert)

public:
    explicit frmInsert(QWidget* parent = nullptr);
    ~frmInsert() override;

    QString path;

    // Offers the settings the agent key lacks and shows the dialog modally.
    void ShowModal();

    QComboBox* generalKeys() const { return cboGeneralKeys_; }
    QLineEdit* textValue() const { return txtDadosValor_; }
    QLineEdit* integerValue() const { return txtDadosValorInteger_; }
    QRadioButton* optTrue() const { return OptTrue_; }
    QRadioButton* optFalse() const { return OptFalse_; }
    QLabel* description() const { return lblDescricao_; }

    // Tests drive the loaded dialog here, shown without blocking, instead of in a modal loop.
    static void SetShowHandlerForTests(std::function<void(frmInsert&)> handler);

private:
    void Load();
    void GeneralKeyChosen();
    void Store();

    QComboBox* cboGeneralKeys_;
    QLineEdit* txtDadosValor_;
    QLineEdit* txtDadosValorInteger_;
    QRadioButton* OptTrue_;
    QRadioButton* OptFalse_;
    QLabel* lblDescricao_;
};

} // namespace quenyx::settings
