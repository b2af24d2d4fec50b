#include "shell/GuiUserInterface.h"

#include "widgets/MessageBox.h"
#include "shell/frmWait.h"

namespace quenyx::shell {

void GuiUserInterface::ShowWait(const std::string& text) { shell::ShowWait(QString::fromStdString(text)); }

void GuiUserInterface::HideWait() { shell::HideWait(); }

void GuiUserInterface::ShowMessage(const std::string& text) { shell::ShowMessage(QString::fromStdString(text)); }

} // namespace quenyx::shell
