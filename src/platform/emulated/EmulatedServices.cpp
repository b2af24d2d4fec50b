#include "platform/emulated/EmulatedSystem.h"

#include "platform/Text.h"
#include "platform/emulated/DetachedProcess.h"
#include "platform/emulated/EmulatedMachine.h"

#include <sqlite3.h>

#include <cctype>
#include <cstdlib>
#include <tuple>

// The emulated machine's services, and the programs and net commands run on it.
namespace quenyx::platform {

namespace {

bool Done(sqlite::Statement& stmt) { return stmt.Step() == SQLITE_DONE; }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::vector<std::string> SplitWords(std::string_view line)
{
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && IsBlank(line[at]))
            ++at;
        const std::size_t start = at;
        while (at < line.size() && !IsBlank(line[at]))
            ++at;
        if (at > start)
            words.emplace_back(line.substr(start, at - start));
    }
    return words;
}

bool IsWindowsPath(std::string_view text)
{
    return (text.size() >= 2 && text[1] == ':' && std::isalpha(static_cast<unsigned char>(text[0]))) ||
           (!text.empty() && text[0] == '\\');
}

// The stand-in for net is looked for beside the running executable (an installed console), then where
// QUENYX_NET names it (builds and tests), then on PATH.
std::filesystem::path NetProgram()
{
    auto beside = ExecutableFolder() / "quenyx-net";
    if (IsExecutableFile(beside))
        return beside;
    const char* named = std::getenv("QUENYX_NET");
    if (named && *named && IsExecutableFile(named))
        return named;
    return FindInPath("quenyx-net");
}

} // namespace

ServiceQuery EmulatedSystem::QueryServiceState(const std::string& serviceName, std::uint32_t& state)
{
    auto stmt = db_.Prepare("SELECT state FROM services WHERE fold = ?1");
    stmt.Bind(1, FoldName(serviceName));
    const int step = stmt.Step();
    if (step == SQLITE_DONE)
        return ServiceQuery::NoService;
    if (step != SQLITE_ROW)
        return ServiceQuery::QueryFailed;
    state = static_cast<std::uint32_t>(stmt.Int(0));
    return ServiceQuery::Done;
}

bool EmulatedSystem::StartHidden(const std::string& commandLine)
{
    auto words = SplitWords(commandLine);
    if (words.empty())
        return false;
    if (!EqualsIgnoringCase(words.front(), "net"))
        return StartNormal(commandLine);
    // The record is made here, as the command is launched, so that it keeps the order of the launches
    // whichever child reaches the store first; the child only does the work.
    auto record = db_.Prepare("INSERT INTO commands(line) VALUES(?1)");
    record.Bind(1, NetLine({words.begin() + 1, words.end()}));
    if (!Done(record))
        return false;
    const std::int64_t seq = sqlite3_last_insert_rowid(db_.handle());
    if (Start(NetProgram(), words, {std::string(kNetRecordedVariable) + "=1"}))
        return true;
    auto drop = db_.Prepare("DELETE FROM commands WHERE seq = ?1");
    drop.Bind(1, seq);
    std::ignore = Done(drop);
    return false;
}

bool EmulatedSystem::StartNormal(const std::string& commandLine)
{
    std::string_view line = commandLine;
    while (!line.empty() && IsBlank(line.front()))
        line.remove_prefix(1);

    std::shared_ptr<EmulatedMachine> machine;
    const auto resolve = [&](const std::string& program) -> std::filesystem::path {
        if (IsWindowsPath(program)) {
            std::string error;
            if (!machine)
                machine = EmulatedMachine::Open(folder_, EmulatedMachine::Mode::ReadOnly, error);
            return machine ? machine->HostPath(program) : std::filesystem::path();
        }
        if (program.find('/') != std::string::npos)
            return program;
        auto found = FindInPath(program);
        return found.empty() ? std::filesystem::path(program) : found;
    };

    // As CreateProcess reads an unquoted command line: the shortest run of words that names an existing
    // file is the program, so a path with blanks works without quotes.
    std::string program;
    std::string_view rest;
    if (!line.empty() && line.front() == '"') {
        const std::size_t close = line.find('"', 1);
        program = std::string(line.substr(1, close == std::string_view::npos ? close : close - 1));
        rest = close == std::string_view::npos ? std::string_view() : line.substr(close + 1);
    } else {
        for (std::size_t end = 0; end <= line.size(); ++end) {
            if (end < line.size() && !IsBlank(line[end]))
                continue;
            std::error_code ec;
            if (end > 0 && std::filesystem::is_regular_file(resolve(std::string(line.substr(0, end))), ec)) {
                program = std::string(line.substr(0, end));
                rest = line.substr(end);
                break;
            }
        }
        if (program.empty()) {
            const auto words = SplitWords(line);
            if (words.empty())
                return false;
            program = words.front();
            rest = line.substr(program.size());
        }
    }
    std::vector<std::string> argv{program};
    for (auto& word : SplitWords(rest))
        argv.push_back(std::move(word));
    return Start(resolve(program), argv);
}

bool EmulatedSystem::Start(const std::filesystem::path& program, const std::vector<std::string>& argv,
                           std::vector<std::string> environment)
{
    if (program.empty())
        return false;
    environment.push_back("QUENYX_MACHINE=" + folder_.string());
    return StartDetached(program, argv, environment);
}

std::string EmulatedSystem::NetLine(const std::vector<std::string>& words)
{
    std::string line = "net";
    for (const auto& word : words)
        line += " " + word;
    return line;
}

bool EmulatedSystem::SetServiceState(const std::string& name, std::uint32_t state)
{
    if (state < Stopped || state > Paused)
        return false;
    auto stmt = db_.Prepare("INSERT INTO services(fold, name, state) VALUES(?1, ?2, ?3) "
                            "ON CONFLICT(fold) DO UPDATE SET state = excluded.state");
    stmt.Bind(1, FoldName(name)).Bind(2, name).Bind(3, static_cast<std::int64_t>(state));
    return Done(stmt);
}

bool EmulatedSystem::RemoveService(const std::string& name)
{
    auto stmt = db_.Prepare("DELETE FROM services WHERE fold = ?1");
    stmt.Bind(1, FoldName(name));
    return Done(stmt);
}

std::vector<EmulatedSystem::Service> EmulatedSystem::Services()
{
    std::vector<Service> services;
    auto stmt = db_.Prepare("SELECT name, state FROM services ORDER BY fold");
    while (stmt.Step() == SQLITE_ROW)
        services.push_back(Service{stmt.Text(0), static_cast<std::uint32_t>(stmt.Int(1))});
    return services;
}

EmulatedSystem::NetOutcome EmulatedSystem::RunNet(const std::vector<std::string>& words, bool record)
{
    const std::string line = NetLine(words);

    // The record and the change land together or not at all, and concurrent nets queue on the write lock.
    std::string why;
    if (!db_.Exec("BEGIN IMMEDIATE;", &why))
        return NetOutcome{1, "the machine's store is busy: " + why};
    auto recording = db_.Prepare("INSERT INTO commands(line) VALUES(?1)");
    recording.Bind(1, line);
    const auto outcome = !record || Done(recording) ? ApplyNet(words) : std::nullopt;
    if (!outcome || !db_.Exec("COMMIT;", &why)) {
        std::ignore = db_.Exec("ROLLBACK;");
        return NetOutcome{1, "cannot record \"" + line + "\": " + (why.empty() ? db_.LastError() : why)};
    }
    return *outcome;
}

std::optional<EmulatedSystem::NetOutcome> EmulatedSystem::ApplyNet(const std::vector<std::string>& words)
{
    const bool stop = words.size() == 2 && EqualsIgnoringCase(words[0], "stop");
    const bool start = words.size() == 2 && EqualsIgnoringCase(words[0], "start");
    if (!stop && !start)
        return NetOutcome{1, "The syntax of this command is:\n\nNET STOP service\nNET START service"};

    auto find = db_.Prepare("SELECT name, state FROM services WHERE fold = ?1");
    find.Bind(1, FoldName(words[1]));
    const int step = find.Step();
    if (step == SQLITE_DONE)
        return NetOutcome{2, "The service name is invalid."};
    if (step != SQLITE_ROW)
        return std::nullopt;
    const std::string name = find.Text(0);
    const auto state = static_cast<std::uint32_t>(find.Int(1));
    const std::uint32_t wanted = start ? Running : Stopped;
    if (state == wanted)
        return NetOutcome{2, start ? "The requested service has already been started."
                                   : "The " + name + " service is not started."};

    auto change = db_.Prepare("UPDATE services SET state = ?2 WHERE fold = ?1");
    change.Bind(1, FoldName(name)).Bind(2, static_cast<std::int64_t>(wanted));
    if (!Done(change))
        return std::nullopt;
    return NetOutcome{0, "The " + name + " service was " + (start ? "started" : "stopped") + " successfully."};
}

std::vector<std::string> EmulatedSystem::RecordedCommands()
{
    std::vector<std::string> lines;
    auto stmt = db_.Prepare("SELECT line FROM commands ORDER BY seq");
    while (stmt.Step() == SQLITE_ROW)
        lines.push_back(stmt.Text(0));
    return lines;
}

bool EmulatedSystem::ClearRecordedCommands()
{
    auto stmt = db_.Prepare("DELETE FROM commands");
    return Done(stmt);
}

} // namespace quenyx::platform
