#pragma once

#include "platform/Devices.h"
#include "platform/Services.h"
#include "platform/emulated/Sqlite.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quenyx::platform {

// The parts of an emulated machine beside its registry: the printers its spooler can open, the answers
// of its printer status component, its services and the commands run on it. They live in the machine's
// store, beside the registry's tables, so one folder is one machine; each process uses its own connection.
class EmulatedMachine;

class EmulatedSystem final : public Spooler, public PrinterStatusProvider, public ServiceControl, public ProcessLauncher
{
public:
    // Where the spooler keeps one key per printer, under HKEY_LOCAL_MACHINE.
    static constexpr const char* kPrintersKey = "SYSTEM\\CurrentControlSet\\Control\\Print\\Printers";

    // States as the Service Control Manager numbers them.
    enum ServiceState : std::uint32_t {
        Stopped = 1,
        StartPending = 2,
        StopPending = 3,
        Running = 4,
        ContinuePending = 5,
        PausePending = 6,
        Paused = 7,
    };

    struct Service
    {
        std::string name;
        std::uint32_t state = Stopped;
    };

    // What the stand-in for "net" answers: its exit code (0 done, 1 bad syntax or no machine, 2 as net
    // gives for a service that does not exist or is already in the state asked for) and its message.
    struct NetOutcome
    {
        int exitCode = 0;
        std::string message;
    };

    struct StatusRule
    {
        std::string printer; // the full name asked for ("\\server\queue" for cluster printers)
        std::string answer;  // "code", "none" (answers false) or "fail" (the call fails)
        std::int32_t code = 0;
    };

    static std::shared_ptr<EmulatedSystem> Open(const std::filesystem::path& folder, std::string& error);
    // The same, for the process that also has `machine` (of the same folder) as its registry: the spooler and
    // the status component then answer through the machine's connection, inside the view its registry reads
    // share, so a search of many printers reads one consistent store instead of taking a read per question.
    static std::shared_ptr<EmulatedSystem> Open(const std::shared_ptr<EmulatedMachine>& machine, std::string& error);

    // Spooler
    std::unique_ptr<PrinterHandle> OpenPrinter(const std::string& printerName) override;
    // PrinterStatusProvider: a printer without a rule answers code 0; with the component removed every
    // call fails, as for a component that is not registered.
    StatusAnswer GetPrinterStatus(std::int16_t tessalineId, const std::string& fullName, std::int32_t& status) override;

    // ServiceControl: the manager always opens; a service missing from the machine is NoService.
    ServiceQuery QueryServiceState(const std::string& serviceName, std::uint32_t& state) override;

    // ProcessLauncher: real detached children, given this machine as QUENYX_MACHINE. "net ..." is recorded
    // among the machine's commands as it is launched, then runs the stand-in quenyx-net with the words after
    // "net". Any other command line is read as CreateProcess reads
    // it: the program is its first word (or the first words that name a file, or a quoted path), a Windows
    // path being mapped into the machine's drive folders; the other words are its arguments.
    bool StartHidden(const std::string& commandLine) override;
    bool StartNormal(const std::string& commandLine) override;

    // Adds the service when missing; false for a state outside 1..7.
    bool SetServiceState(const std::string& name, std::uint32_t state);
    bool RemoveService(const std::string& name);
    std::vector<Service> Services();

    // What quenyx-net does with its words ("stop" or "start" and a service name): in one transaction,
    // records the command line "net <words>" (unless `record` is false: StartHidden recorded it at launch,
    // and says so to the child in kNetRecordedVariable) and stops (state 1) or starts (state 4) the service.
    NetOutcome RunNet(const std::vector<std::string>& words, bool record = true);
    static constexpr const char* kNetRecordedVariable = "QUENYX_NET_RECORDED";
    // The command lines run on the machine, oldest first.
    std::vector<std::string> RecordedCommands();
    bool ClearRecordedCommands();

    bool AddSpoolerPrinter(const std::string& name);
    // Lets the spooler open every printer key of the machine, in one transaction; the number of keys, or -1.
    std::int64_t AddEverySpoolerPrinter();
    bool RemoveSpoolerPrinter(const std::string& name);
    std::vector<std::string> SpoolerPrinters();

    bool SetStatusRule(const StatusRule& rule);
    bool ClearStatusRule(const std::string& printer);
    std::vector<StatusRule> StatusRules();
    bool SetStatusComponentInstalled(bool installed);
    bool StatusComponentInstalled();

private:
    EmulatedSystem() = default;
    std::optional<NetOutcome> ApplyNet(const std::vector<std::string>& words);
    bool Start(const std::filesystem::path& program, const std::vector<std::string>& argv,
               std::vector<std::string> environment = {});
    static std::string NetLine(const std::vector<std::string>& words);

    // The spooler's printers and the status component's answers as one held view of the machine reads them:
    // a search asks about every printer, and one query for the lot costs less than one per printer.
    struct ViewAnswers;

    // The spooler's and status component's reads, on the machine's connection when there is one.
    template <typename Read> auto ReadDevices(Read&& read);
    // The answers of the held view `db` reads in, or null outside one.
    ViewAnswers* HeldAnswers(sqlite::Database& db);

    std::filesystem::path folder_;
    sqlite::Database db_;
    std::shared_ptr<EmulatedMachine> machine_;
    std::shared_ptr<ViewAnswers> answers_;
};

} // namespace quenyx::platform
