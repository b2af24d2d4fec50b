#pragma once

#include <string>
#include <string_view>

// The console's own diagnostic log: one line per event in "VeltrinAdmin_<date>.log" under the agent's
// TracePath, written only while TraceLevel is a non-zero number.
namespace quenyx::mod_Trace {

inline constexpr const char* AgentKey = "SOFTWARE\\Tessaline\\Quenyx\\Agent";

// Reads TraceLevel and TracePath of the agent key once; nothing else changes them during a run.
void ReadTraceSettings();

// Appends "<time> [<tag>]  - <message>" and CR LF to the day's log; does nothing while logging is off.
// A log that cannot be written is given up silently: nothing in the console relies on a line being there.
void WriteTrace(std::string_view tag, std::string_view message);

// True while lines are written: a caller whose message costs something to build may skip building it.
bool Tracing();

// The settings as read, and the log file's Windows path for a date text (both for tests and tools).
const std::string& traceLevel();
const std::string& tracePath();
std::string LogFilePath(const std::string& shortDate);

// Sets both as ReadTraceSettings would (tools and tests); ResetTraceSettings goes back to level "0", no folder.
void SetTraceSettings(const std::string& level, const std::string& path);
void ResetTraceSettings();

} // namespace quenyx::mod_Trace
