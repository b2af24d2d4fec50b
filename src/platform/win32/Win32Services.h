#pragma once

#include "platform/Services.h"

namespace quenyx::platform::win32 {

// The local Service Control Manager through advapi32's A functions; every handle is closed before the
// query returns.
class Win32ServiceControl final : public ServiceControl
{
public:
    ServiceQuery QueryServiceState(const std::string& serviceName, std::uint32_t& state) override;
};

// CreateProcessA; the child's process and thread handles are closed at once, so nothing waits for it.
class Win32ProcessLauncher final : public ProcessLauncher
{
public:
    bool StartHidden(const std::string& commandLine) override;
    bool StartNormal(const std::string& commandLine) override;
};

} // namespace quenyx::platform::win32
