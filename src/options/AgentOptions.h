#pragma once

#include "options/mod_TraceConfig.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// What the options dialog reads and writes, for the dialog and for anything else that sets the agent's trace
// files and secure printing the same way.
namespace quenyx::options {

inline constexpr std::size_t kListenerFile = 0;
inline constexpr std::size_t kSenderFile = 1;
inline constexpr std::size_t kWatcherFile = 5;

// The rows of a level list; a row's number is the trace level of the files.
inline constexpr std::array<std::string_view, 6> kLevelRows{"OFF", "Fatal", "Error", "Warn", "Info", "Debug!"};

// The level of a row text, matched without regard to case, with or without the "!" of "Debug!".
std::optional<std::int16_t> LevelOfRow(std::string_view text);

// The Watcher runs (and has its trace file) only on installation types 1 and 5.
bool HasWatcher(std::optional<int> installType);

// The trace file of each component, in the order of mod_Trace::kTraceComponents, in the installation folder;
// the Watcher's is empty where it does not run. Writes the log lines the dialog writes when it opens.
std::array<std::string, 7> TraceFilePaths(std::optional<int> installType, const std::string& pathInstall);

// The folder the trace files are given, from the Listener's log file path: that path without the Listener's
// log file name, normally the folder with its closing "\".
std::string FolderOfListenerLog(std::string listenerBase);

// The folder as the trace files' base file paths start: with a closing "\".
std::string TraceFolder(std::string folder);

// Stores secure printing as the dialog's OK does: SecurePrintChoiceEnabled removed, SecurePrintEnabled "1" or
// "0", and with it on ReleaserServer and (when chosen) SecurePrintChoiceEnabled "1". The status of the first
// write the registry refused, else 0.
std::int32_t SaveSecurePrint(bool enabled, const std::string& releaser, bool choiceEnabled);

} // namespace quenyx::options
