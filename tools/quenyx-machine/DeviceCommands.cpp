#include "DeviceCommands.h"

#include <algorithm>
#include <charconv>
#include <initializer_list>
#include <string_view>

namespace quenyx::tools {

namespace {

int Failed(std::ostream& err, const std::string& what)
{
    err << "quenyx-machine: cannot " << what << "\n";
    return 1;
}

int Usage(std::ostream& err, const std::string& why)
{
    err << "quenyx-machine: " << why << "\n\n" << kDeviceCommandsUsage;
    return 2;
}

} // namespace

int RunDeviceCommand(platform::EmulatedSystem& system, const std::vector<std::string>& words, std::ostream& out,
                     std::ostream& err)
{
    // A shape's empty word stands for any word.
    const auto is = [&words](std::initializer_list<std::string_view> shape) {
        return words.size() == shape.size() &&
               std::equal(shape.begin(), shape.end(), words.begin(),
                          [](std::string_view want, const std::string& word) { return want.empty() || want == word; });
    };

    if (is({"spooler", "add", "--all"})) {
        const std::int64_t added = system.AddEverySpoolerPrinter();
        if (added < 0)
            return Failed(err, "add the printers");
        out << added << " printers\n";
        return 0;
    }
    if (is({"spooler", "add", ""}))
        return system.AddSpoolerPrinter(words[2]) ? 0 : Failed(err, "add " + words[2]);
    if (is({"spooler", "remove", ""}))
        return system.RemoveSpoolerPrinter(words[2]) ? 0 : Failed(err, "remove " + words[2]);
    if (is({"spooler", "list"})) {
        for (const auto& name : system.SpoolerPrinters())
            out << name << "\n";
        return 0;
    }
    if (is({"status", "set", "", ""})) {
        platform::EmulatedSystem::StatusRule rule{words[2], words[3], 0};
        if (words[3] != "none" && words[3] != "fail") {
            const std::string& text = words[3];
            const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), rule.code);
            if (ec != std::errc() || end != text.data() + text.size())
                return Usage(err, text + " is no status code");
            rule.answer = "code";
        }
        return system.SetStatusRule(rule) ? 0 : Failed(err, "set the status of " + words[2]);
    }
    if (is({"status", "clear", ""}))
        return system.ClearStatusRule(words[2]) ? 0 : Failed(err, "clear the status of " + words[2]);
    if (is({"status", "list"})) {
        for (const auto& rule : system.StatusRules())
            out << rule.printer << "\t" << (rule.answer == "code" ? std::to_string(rule.code) : rule.answer) << "\n";
        return 0;
    }
    if (is({"status", "component", "installed"}) || is({"status", "component", "removed"})) {
        return system.SetStatusComponentInstalled(words[2] == "installed") ? 0 : Failed(err, "change the component");
    }
    return Usage(err, "usage:");
}

} // namespace quenyx::tools
