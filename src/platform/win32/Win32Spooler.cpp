#include "platform/win32/Win32Spooler.h"

#include "platform/win32/Win32Platform.h"

#include <windows.h>
#include <winspool.h>

#include <tuple>

// winspool.h makes OpenPrinter stand for OpenPrinterA; here it is the seam's own method.
#undef OpenPrinter

namespace quenyx::platform::win32 {

namespace {

class Win32PrinterHandle final : public PrinterHandle
{
public:
    explicit Win32PrinterHandle(HANDLE handle) : handle_(handle) {}
    ~Win32PrinterHandle() override { std::ignore = ClosePrinter(handle_); }
    Win32PrinterHandle(const Win32PrinterHandle&) = delete;
    Win32PrinterHandle& operator=(const Win32PrinterHandle&) = delete;

private:
    HANDLE handle_;
};

} // namespace

std::unique_ptr<PrinterHandle> Win32Spooler::OpenPrinter(const std::string& printerName)
{
    // OpenPrinterA takes the name as a writable string.
    std::string name = ToAnsi(printerName);
    HANDLE handle = nullptr;
    if (!OpenPrinterA(name.data(), &handle, nullptr) || !handle)
        return nullptr;
    return std::make_unique<Win32PrinterHandle>(handle);
}

} // namespace quenyx::platform::win32
