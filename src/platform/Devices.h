#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace quenyx::platform {

// An open printer of the spooler; closed (ClosePrinter) when destroyed.
class PrinterHandle
{
public:
    virtual ~PrinterHandle() = default;
};

// The print spooler: OpenPrinterA by name. Null when the spooler cannot open the printer.
class Spooler
{
public:
    virtual ~Spooler() = default;
    virtual std::unique_ptr<PrinterHandle> OpenPrinter(const std::string& printerName) = 0;
};

// The printer status component, asked once per printer with the agent's identifier and the full
// printer name ("\\server\queue" for a cluster printer).
enum class StatusAnswer {
    Answered,    // the component's call returned true; `status` holds its code
    NotAnswered, // the call returned something other than true
    Failed,      // the component could not be created, or the call failed
};

class PrinterStatusProvider
{
public:
    virtual ~PrinterStatusProvider() = default;
    virtual StatusAnswer GetPrinterStatus(std::int16_t tessalineId, const std::string& fullName,
                                          std::int32_t& status) = 0;
};

} // namespace quenyx::platform
