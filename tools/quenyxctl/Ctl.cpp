#include "Ctl.h"

#include "platform/Platform.h"
#include "platform/mod_Services.h"

#include <map>

namespace quenyx::ctl {

namespace {

using Command = int (*)(Call&);

struct CommandEntry
{
    Command run;
    bool writes; // may change the agent's configuration, so --restart applies
};

const std::map<std::string, CommandEntry>& Commands()
{
    static const std::map<std::string, CommandEntry> commands{
        {"settings", {&Settings, false}},
        {"get", {&Get, false}},
        {"set", {&Set, true}},
        {"unset", {&Unset, true}},
        {"export", {&Export, false}},
        {"import", {&Import, true}},
        {"printers", {&Printers, false}},
        {"printer", {&PrinterSwitches, true}},
        {"trace", {&Trace, true}},
        {"trace-folder", {&TraceFolder, true}},
        {"secure-print", {&SecurePrint, true}},
        {"restart", {&Restart, false}},
    };
    return commands;
}

// The console's wait box and message box, for a run without windows: the wait text is not shown, a message
// goes to stderr and is remembered.
class ConsoleUserInterface final : public platform::UserInterface
{
public:
    explicit ConsoleUserInterface(std::ostream& err) : err_(err) {}
    void ShowWait(const std::string&) override {}
    void HideWait() override {}
    void ShowMessage(const std::string& text) override
    {
        shown = true;
        if (!text.empty())
            err_ << "quenyxctl: " << text << "\n";
    }
    bool shown = false;

private:
    std::ostream& err_;
};

} // namespace

// quenyxctl asks for no elevation of its own: scripts run it elevated, and a prompt would hang them.
constexpr const char* kRunElevated = "; run quenyxctl from an elevated prompt (as administrator)";

int Call::Fail(int code, const std::string& subject, const std::string& why) const
{
    err << "quenyxctl: " << (subject.empty() ? "" : subject + ": ") << why << "\n";
    return code;
}

int CheckWritable(const Call& call, const std::string& subject, const std::string& keyPath)
{
    const auto& registry = platform::Current().registry;
    std::unique_ptr<platform::RegistryKey> key;
    const platform::RegStatus status =
        registry ? registry->OpenKey(keyPath, platform::reg_access::AllAccess, key) : platform::reg_error::FileNotFound;
    if (status == platform::reg_error::Success)
        return kDone;
    if (status == platform::reg_error::AccessDenied)
        return call.Fail(kDenied, subject,
                         "writing HKEY_LOCAL_MACHINE\\" + keyPath + " is refused for lack of rights" + kRunElevated);
    return call.Fail(kFailed, subject,
                     "HKEY_LOCAL_MACHINE\\" + keyPath + " cannot be opened for writing (error " +
                         std::to_string(status) + ")");
}

int WriteRefused(const Call& call, const std::string& subject, std::int32_t status)
{
    if (status == platform::reg_error::AccessDenied)
        return call.Fail(kDenied, subject, "the registry refused the write for lack of rights" + std::string(kRunElevated));
    return call.Fail(kFailed, subject, "the registry refused the write (error " + std::to_string(status) + ")");
}

// Restarts the agent's services as the console does when it closes after a change: the same services, order and
// pauses. The console's "not installed" message makes it a failure here.
int RestartServices(Call& call)
{
    auto ui = std::make_shared<ConsoleUserInterface>(call.err);
    const auto previous = platform::Current().ui;
    platform::Current().ui = ui;
    mod_Services::RestartAgentServices();
    platform::Current().ui = previous;
    if (ui->shown)
        return call.Fail(kFailed, "restart", "the agent is not installed (PathInstall is empty); nothing restarted");
    return kDone;
}

int Restart(Call& call)
{
    if (!call.arguments.empty())
        return call.Fail(kInvalid, "restart", "takes no arguments");
    call.report.changed = true;
    call.report.extra.push_back(Field::Of("services", "restarted"));
    if (call.check) {
        call.report.extra.back().text = "would be restarted";
        return kDone;
    }
    return RestartServices(call);
}

int Run(const std::vector<std::string>& words, std::ostream& out, std::ostream& err)
{
    Call call{{}, false, false, out, err};
    bool restart = false;
    std::size_t at = 0;
    for (; at < words.size() && words[at].starts_with("--"); ++at) {
        const std::string& word = words[at];
        if (word == "--json")
            call.json = true;
        else if (word == "--check")
            call.check = true;
        else if (word == "--restart")
            restart = true;
        else if (word == "--help") {
            out << HelpText();
            return kDone;
        } else if (word == "--version") {
            // The version that the programs' file properties and the installer show.
            out << "quenyxctl " << QUENYX_VERSION_TEXT << '\n';
            return kDone;
        } else {
            err << "quenyxctl: unknown option " << word << " (see quenyxctl --help)\n";
            return kInvalid;
        }
    }
    if (at == words.size() || words[at] == "help") {
        (at == words.size() ? err : out) << HelpText();
        return at == words.size() ? kInvalid : kDone;
    }
    const auto found = Commands().find(words[at]);
    if (found == Commands().end()) {
        err << "quenyxctl: unknown command " << words[at] << " (see quenyxctl --help)\n";
        return kInvalid;
    }
    call.arguments.assign(words.begin() + static_cast<std::ptrdiff_t>(at) + 1, words.end());
    int status = found->second.run(call);
    if (status != kDone)
        return status;
    if (restart && found->second.writes && call.report.changed) {
        call.report.extra.push_back(Field::Of("services", call.check ? "would be restarted" : "restarted"));
        if (!call.check)
            status = RestartServices(call);
    }
    if (call.printed)
        return status;
    if (call.json)
        PrintJson(out, call.report, call.check);
    else
        PrintText(out, call.report, call.check);
    return status;
}

} // namespace quenyx::ctl
