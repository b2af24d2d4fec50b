#pragma once

#include <string>

namespace quenyx::platform {

// What core procedures need of the console's windows: the wait box and the exclamation message box.
// The console installs its own; without one these do nothing (and a message is answered at once).
class UserInterface
{
public:
    virtual ~UserInterface() = default;
    virtual void ShowWait(const std::string& text) = 0;
    virtual void HideWait() = 0;
    // Exclamation icon, an OK button, the console's own title; returns when acknowledged.
    virtual void ShowMessage(const std::string& text) = 0;
};

} // namespace quenyx::platform
