// quenyxctl: the agent's configuration from a script. See Help.cpp, or run it with --help.
#include "Ctl.h"

#include "platform/Files.h"
#include "platform/Platform.h"
#include "platform/mod_Trace.h"

#include <iostream>

int main(int argc, char** argv)
{
    using namespace quenyx;
    std::string error;
    platform::Install(platform::MakeHostPlatform(error));
    // The command line comes in the machine's ANSI code page; the core's texts are UTF-8.
    std::vector<std::string> words;
    const auto files = platform::Current().files;
    for (int i = 1; i < argc; ++i)
        words.push_back(files ? files->FromAnsi(argv[i]) : std::string(argv[i]));
    // Help and the version need no machine.
    const bool help = words.empty() || words.front() == "--help" || words.front() == "help" ||
                      words.front() == "--version";
    if (!error.empty() && !help) {
        std::cerr << "quenyxctl: " << error << "\n";
        return ctl::kFailed;
    }
    mod_Trace::ReadTraceSettings();
    // A .reg file (UTF-16) may go to stdout; every line ends in LF alone, which PowerShell and cmd read as well.
    platform::UseBinaryStandardOutput();
    const int status = ctl::Run(words, std::cout, std::cerr);
    std::cout.flush();
    return status;
}
