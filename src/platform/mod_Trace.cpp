#include "platform/mod_Trace.h"

#include "platform/Files.h"
#include "platform/Platform.h"
#include "platform/mod_RegWin.h"

#include <charconv>
#include <filesystem>
#include <memory>
#include <system_error>

namespace quenyx::mod_Trace {

namespace {

std::string g_traceLevel = "0";
std::string g_tracePath;

// Where the last line went. Finding a Windows path's place on the host looks at the folders on disk, which
// costs more than the append itself, and the day's file does not move; so the place is kept for the next
// line to the same file of the same machine, and looked for again when an append there fails.
struct LastFile
{
    std::weak_ptr<platform::Files> files;
    std::string windowsPath;
    std::filesystem::path hostPath;
};
LastFile g_lastFile;

void Append(const std::shared_ptr<platform::Files>& files, const std::string& windowsPath, const std::string& bytes)
{
    const bool known = g_lastFile.files.lock() == files && g_lastFile.windowsPath == windowsPath;
    if (known && platform::AppendToFile(g_lastFile.hostPath, bytes))
        return;
    g_lastFile = {files, windowsPath, files->HostPath(windowsPath)};
    if (!platform::AppendToFile(g_lastFile.hostPath, bytes))
        g_lastFile.windowsPath.clear();
}

// The level converted as a number: leading blanks, an optional sign and digits; anything else reads as 0. Worked
// out when the settings change, not for every line: every registry read asks.
bool LoggingOn(const std::string& level, const std::string& path)
{
    if (path.empty())
        return false;
    std::size_t start = level.find_first_not_of(" \t");
    if (start == std::string::npos)
        return false;
    if (level[start] == '+')
        ++start;
    long long number = 0;
    const char* first = level.data() + start;
    const char* last = level.data() + level.size();
    const auto [end, ec] = std::from_chars(first, last, number);
    return ec == std::errc() && end != first && number != 0;
}

bool g_tracing = false;

} // namespace

void ReadTraceSettings()
{
    SetTraceSettings(mod_RegWin::GetSettingString(mod_RegWin::HKLM, AgentKey, "TraceLevel", "0"), g_tracePath);
    SetTraceSettings(g_traceLevel, mod_RegWin::GetSettingString(mod_RegWin::HKLM, AgentKey, "TracePath", ""));
}

void SetTraceSettings(const std::string& level, const std::string& path)
{
    g_traceLevel = level;
    g_tracePath = path;
    g_tracing = LoggingOn(g_traceLevel, g_tracePath);
}

void ResetTraceSettings()
{
    SetTraceSettings("0", "");
}

bool Tracing()
{
    return g_tracing;
}

const std::string& traceLevel()
{
    return g_traceLevel;
}
const std::string& tracePath()
{
    return g_tracePath;
}

std::string LogFilePath(const std::string& shortDate)
{
    std::string date;
    for (const char c : shortDate)
        if (c != '/')
            date.push_back(c);
    return g_tracePath + "\\VeltrinAdmin_" + date + ".log";
}

void WriteTrace(std::string_view tag, std::string_view message)
{
    if (!g_tracing)
        return;
    auto& platform = platform::Current();
    if (!platform.clock || !platform.files)
        return;
    const platform::LocalTime now = platform.clock->Now();
    const std::string file = LogFilePath(platform.clock->ShortDate(now));
    std::string line = platform.clock->TimeOfDay(now);
    line.append(" [").append(tag).append("]  - ").append(message).append("\r\n");
    Append(platform.files, file, platform.files->ToAnsi(line));
}

} // namespace quenyx::mod_Trace
