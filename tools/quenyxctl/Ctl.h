#pragma once

#include "Report.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

// quenyxctl's command layer: the agent's configuration on the machine the current platform stands for, with the
// console's own rules. main() installs the host's platform and calls Run; tests install theirs.
namespace quenyx::ctl {

inline constexpr int kDone = 0;    // done, changed or not
inline constexpr int kFailed = 1;  // the store or a file refused the write; nothing half-written
inline constexpr int kInvalid = 2; // usage, or an invalid value; nothing written
inline constexpr int kDenied = 5;  // writing refused for lack of rights; nothing written

// One run: the words after the program's name.
int Run(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

std::string HelpText();

// What a command gets: its arguments, the global switches, and where its report and errors go.
struct Call
{
    std::vector<std::string> arguments; // after the command's name
    bool json = false;
    bool check = false;
    std::ostream& out;
    std::ostream& err;
    Report report{};
    bool printed = false; // the command wrote its own output (a .reg file to stdout) instead of the report

    // One line on stderr naming what failed; returns `code`.
    int Fail(int code, const std::string& subject, const std::string& why) const;
};

// The commands, each returning its exit status and filling call.report.
int Settings(Call& call);
int Get(Call& call);
int Set(Call& call);
int Unset(Call& call);
int Export(Call& call);
int Import(Call& call);
int Printers(Call& call);
int PrinterSwitches(Call& call);
int Trace(Call& call);
int TraceFolder(Call& call);
int SecurePrint(Call& call);
int Restart(Call& call);

// kDone when the key opens for writing; else the failure, reported for `subject` (5 for lack of rights, else 1).
int CheckWritable(const Call& call, const std::string& subject, const std::string& keyPath);
// The failure of a registry write with this status, reported for `subject`.
int WriteRefused(const Call& call, const std::string& subject, std::int32_t status);

} // namespace quenyx::ctl
