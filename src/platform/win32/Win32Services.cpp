#include "platform/win32/Win32Services.h"

#include "platform/win32/Win32Platform.h"

#include <windows.h>

#include <string>

namespace quenyx::platform::win32 {

namespace {

class ServiceHandle final
{
public:
    explicit ServiceHandle(SC_HANDLE handle) : handle_(handle) {}
    ~ServiceHandle()
    {
        if (handle_)
            CloseServiceHandle(handle_);
    }
    ServiceHandle(const ServiceHandle&) = delete;
    ServiceHandle& operator=(const ServiceHandle&) = delete;

    explicit operator bool() const { return handle_ != nullptr; }
    SC_HANDLE get() const { return handle_; }

private:
    SC_HANDLE handle_;
};

class KernelHandle final
{
public:
    explicit KernelHandle(HANDLE handle) : handle_(handle) {}
    ~KernelHandle()
    {
        if (handle_)
            CloseHandle(handle_);
    }
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;

private:
    HANDLE handle_;
};

bool Start(const std::string& commandLine, WORD show, DWORD flags)
{
    // CreateProcessA may write into the command line, so it gets a copy of its own, NUL-ended.
    std::string line = ToAnsi(commandLine);
    line.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = show;
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr, &startup, &started))
        return false;
    const KernelHandle process(started.hProcess);
    const KernelHandle thread(started.hThread);
    return true;
}

} // namespace

ServiceQuery Win32ServiceControl::QueryServiceState(const std::string& serviceName, std::uint32_t& state)
{
    const ServiceHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager)
        return ServiceQuery::NoManager;
    const ServiceHandle service(OpenServiceA(manager.get(), ToAnsi(serviceName).c_str(), GENERIC_READ));
    if (!service)
        return ServiceQuery::NoService;
    SERVICE_STATUS status{};
    if (!QueryServiceStatus(service.get(), &status))
        return ServiceQuery::QueryFailed;
    state = status.dwCurrentState;
    return ServiceQuery::Done;
}

bool Win32ProcessLauncher::StartHidden(const std::string& commandLine)
{
    return Start(commandLine, SW_HIDE, CREATE_NO_WINDOW);
}

bool Win32ProcessLauncher::StartNormal(const std::string& commandLine)
{
    return Start(commandLine, SW_SHOWNORMAL, 0);
}

} // namespace quenyx::platform::win32
