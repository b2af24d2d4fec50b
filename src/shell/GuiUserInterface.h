#pragma once

#include "platform/UserInterface.h"

namespace quenyx::shell {

// The console's windows as the core procedures see them.
class GuiUserInterface final : public platform::UserInterface
{
public:
    void ShowWait(const std::string& text) override;
    void HideWait() override;
    void ShowMessage(const std::string& text) override;
};

} // namespace quenyx::shell
