#pragma once

#include <QWidget>

#include <memory>

class QLabel;

namespace quenyx::shell {

// The console's main window.
class frmMain final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmMain)

public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

private:
    QLabel* summary_ = nullptr;
};

} // namespace quenyx::shell
