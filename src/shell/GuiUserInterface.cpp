#include "shell/GuiUserInterface.h"

#include "shell/frmWait.h"
#include "widgets/MessageBox.h"

namespace quenyx::shell {

void GuiUserInterface::ShowWait(const std::string& text)
{
    shell::ShowWait(QString::fromStdString(text));
}

void GuiUserInterface::HideWait()
{
    shell::HideWait();
}

void GuiUserInterface::ShowMessage(const std::string& text)
{
    shell::ShowMessage(QString::fromStdString(text));
}

} // namespace quenyx::shell
