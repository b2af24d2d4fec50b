#pragma once

#include "platform/Devices.h"
#include "platform/emulated/Sqlite.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace quenyx::platform {

// The parts of an emulated machine beside its registry: the printers its spooler can open and the answers
// of its printer status component. They live in the machine's store, beside the registry's tables, so one
// folder is one machine; each process uses its own connection.
class EmulatedSystem final : public Spooler, public PrinterStatusProvider
{
public:
    struct StatusRule
    {
        std::string printer;    // the full name asked for ("\\server\queue" for cluster printers)
        std::string answer;     // "code", "none" (answers false) or "fail" (the call fails)
        std::int32_t code = 0;
    };

    static std::shared_ptr<EmulatedSystem> Open(const std::filesystem::path& folder, std::string& error);

    // Spooler
    std::unique_ptr<PrinterHandle> OpenPrinter(const std::string& printerName) override;
    // PrinterStatusProvider: a printer without a rule answers code 0; with the component removed every
    // call fails, as for a component that is not registered.
    StatusAnswer GetPrinterStatus(std::int16_t tessalineId, const std::string& fullName, std::int32_t& status) override;

    bool AddSpoolerPrinter(const std::string& name);
    bool RemoveSpoolerPrinter(const std::string& name);
    std::vector<std::string> SpoolerPrinters();

    bool SetStatusRule(const StatusRule& rule);
    bool ClearStatusRule(const std::string& printer);
    std::vector<StatusRule> StatusRules();
    bool SetStatusComponentInstalled(bool installed);
    bool StatusComponentInstalled();
    // Every status query made, in order: "<id> <full name>".
    std::vector<std::string> StatusQueries();

private:
    EmulatedSystem() = default;
    sqlite::Database db_;
};

} // namespace quenyx::platform
