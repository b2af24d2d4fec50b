#include "ServiceCommands.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <initializer_list>
#include <optional>
#include <string_view>

namespace quenyx::tools {

namespace {

constexpr std::array<std::string_view, 7> kStateNames{"stopped",          "start-pending", "stop-pending", "running",
                                                      "continue-pending", "pause-pending", "paused"};

std::optional<std::uint32_t> ParseState(std::string_view text)
{
    for (std::size_t index = 0; index < kStateNames.size(); ++index) {
        if (text == kStateNames[index])
            return static_cast<std::uint32_t>(index + 1);
    }
    std::uint32_t state = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), state);
    if (ec != std::errc() || end != text.data() + text.size() || state < 1 || state > kStateNames.size())
        return std::nullopt;
    return state;
}

std::string_view StateName(std::uint32_t state)
{
    return state >= 1 && state <= kStateNames.size() ? kStateNames[state - 1] : "unknown";
}

int Failed(std::ostream& err, const std::string& what)
{
    err << "quenyx-machine: cannot " << what << "\n";
    return 1;
}

} // namespace

int RunServiceCommand(platform::EmulatedSystem& system, const std::vector<std::string>& words, std::ostream& out,
                      std::ostream& err)
{
    // A shape's empty word stands for any word.
    const auto is = [&words](std::initializer_list<std::string_view> shape) {
        return words.size() == shape.size() &&
               std::equal(shape.begin(), shape.end(), words.begin(),
                          [](std::string_view want, const std::string& word) { return want.empty() || want == word; });
    };

    if (is({"service", "set", "", ""})) {
        const auto state = ParseState(words[3]);
        if (!state) {
            err << "quenyx-machine: " << words[3] << " is no service state\n\n" << kServiceCommandsUsage;
            return 2;
        }
        return system.SetServiceState(words[2], *state) ? 0 : Failed(err, "set the state of " + words[2]);
    }
    if (is({"service", "remove", ""}))
        return system.RemoveService(words[2]) ? 0 : Failed(err, "remove " + words[2]);
    if (is({"service", "list"})) {
        for (const auto& service : system.Services())
            out << service.name << "\t" << service.state << " " << StateName(service.state) << "\n";
        return 0;
    }
    if (is({"commands"})) {
        for (const auto& line : system.RecordedCommands())
            out << line << "\n";
        return 0;
    }
    if (is({"commands", "clear"}))
        return system.ClearRecordedCommands() ? 0 : Failed(err, "clear the recorded commands");

    err << "quenyx-machine: usage:\n" << kServiceCommandsUsage;
    return 2;
}

} // namespace quenyx::tools
