#pragma once

#include "platform/Devices.h"

namespace quenyx::platform::win32 {

// This machine's spooler through winspool's OpenPrinterA; the name crosses into the ANSI code page here.
class Win32Spooler final : public Spooler
{
public:
    std::unique_ptr<PrinterHandle> OpenPrinter(const std::string& printerName) override;
};

} // namespace quenyx::platform::win32
