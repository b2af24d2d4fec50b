#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The trace configuration files of the agent's components (TraceConfigFile): small TOML files in the agent's
// installation folder, of which the console reads and rewrites the log file line (base_filename) and the trace
// level line (level), and the folder chooser of the options dialog. Paths are Windows paths of the machine.
namespace quenyx::mod_Trace {

struct TraceComponent
{
    std::string_view name;
    std::string_view configFile; // the TraceConfigFile's name in the installation folder
    std::string_view logFile;    // the log file's name written into its base_filename line
};

// In the order the options dialog writes them.
inline constexpr std::array<TraceComponent, 7> kTraceComponents{{
    {"Listener", "Quenyx.Agent.Listener.Service.toml", "Quenyx.Agent.Listener.txt"},
    {"Sender", "Quenyx.Agent.Sender.Service.toml", "Quenyx.Agent.Sender.txt"},
    {"Guardian", "Quenyx.Agent.Guardian.Service.toml", "Quenyx.Agent.Guardian.txt"},
    {"LiveUpdate", "Quenyx.Agent.LiveUpdate.Service.toml", "Quenyx.Agent.LiveUpdate.txt"},
    {"HttpServer", "Quenyx.Agent.HttpServer.Service.toml", "Quenyx.Agent.HttpServer.txt"},
    {"Watcher", "Quenyx.Agent.Watcher.Service.toml", "Quenyx.Agent.Watcher.txt"},
    {"UICaller", "Quenyx.Agent.UICaller.toml", "Quenyx.Agent.UICaller.txt"},
}};

inline constexpr std::string_view kBaseFileText = "base_filename = \"";
inline constexpr std::string_view kLevelText = "level = \"";

enum class TraceFileStatus {
    Done,
    CannotRead,  // the file could not be opened or read (missing, a folder, no rights); nothing was written
    CannotWrite, // the new content could not be written or put in place; the file is as it was
};

// The level's name in a file: "off", "critical", "err", "warn", "info", "debug" for 0 to 5; "off" for any other
// number.
std::string_view TraceLevelName(int level);

// `level` becomes 0, then the level of the file's last level line whose name (in any case) is known; `baseFile`
// becomes the path of its last base file line with "\" for "/", and stays as passed when there is none. A file
// that cannot be read leaves `level` 0 and `baseFile` as passed.
[[nodiscard]] TraceFileStatus ReadTraceConfig(const std::string& path, std::int16_t& level, std::string& baseFile);

// Rewrites the file's level lines with the level's name and, unless `baseFile` is empty, its base file lines with
// `baseFile` ("/" for "\"); every other line stays as it was, and every line ends in CR LF. The new content goes to
// "<path>.tmp", which then replaces the file in one step; when anything fails, the file is left as it was and no
// ".tmp" file of ours stays behind.
[[nodiscard]] TraceFileStatus WriteTraceConfig(const std::string& path, std::int16_t level,
                                               const std::string& baseFile);

// The file's bytes as they are (`before`) and as WriteTraceConfig would leave them (`after`); nothing is written.
[[nodiscard]] TraceFileStatus PreviewTraceConfig(const std::string& path, std::int16_t level,
                                                 const std::string& baseFile, std::string& before, std::string& after);
// The platform's folder chooser: the chosen folder, or the empty text (cancelled, not a file-system folder, no
// chooser installed).
std::string BrowseForFolder();

// The same on a file's text in the program's UTF-8, for the file operations above, tests and fuzzing.
// A line ends at CR LF, at CR or at LF; a last line without an end still counts, and an empty text has no lines.
std::vector<std::string_view> SplitTraceLines(std::string_view text);
void ReadTraceConfigText(std::string_view text, std::int16_t& level, std::string& baseFile);
std::string RewriteTraceConfigText(std::string_view text, std::int16_t level, const std::string& baseFile);

} // namespace quenyx::mod_Trace
