#pragma once

#include "platform/Devices.h"

#include <string>

// As <oaidl.h> declares them; this header stays free of <windows.h>, whose winspool.h would rename the
// spooler seam's OpenPrinter.
struct IDispatch;
struct tagVARIANT;

namespace quenyx::platform::win32 {

// The ProgID under which the agent's printer status component is registered.
inline constexpr const char* kPrinterStatusProgId = "Quenyx.PrinterStatusProvider";

// The printer status component, called late-bound through IDispatch. Every call initialises COM on its
// thread, creates an instance of its own and releases both before it returns; whatever goes wrong on the
// way is the answer Failed.
class Win32PrinterStatus final : public PrinterStatusProvider
{
public:
    explicit Win32PrinterStatus(const std::string& progId = kPrinterStatusProgId);

    StatusAnswer GetPrinterStatus(std::int16_t tessalineId, const std::string& fullName, std::int32_t& status) override;

private:
    std::wstring progId_;
};

// GetPrinterStatus(TessalineID As Integer, FullName As String, Status As Long) on an instance already
// created: the identifier and the name by value, the status by reference starting at 0. `status` is
// written only when the result is true.
StatusAnswer CallGetPrinterStatus(IDispatch& component, std::int16_t tessalineId, const std::string& fullName,
                                  std::int32_t& status);

// The result as a Basic client's If reads it: whatever converts to a Boolean True; anything that does
// not convert (Null, a text that is neither a number nor True or False) is not true.
bool ToBoolean(const tagVARIANT& result);

} // namespace quenyx::platform::win32
