// quenyxctl: the agent's configuration from a script. See Help.cpp, or run it with --help.
#include "Ctl.h"

#include "platform/Platform.h"
#include "platform/mod_Trace.h"

#include <iostream>

int main(int argc, char** argv)
{
    using namespace quenyx;
    std::string error;
    platform::Install(platform::MakeHostPlatform(error));
    const std::vector<std::string> words(argv + 1, argv + argc);
    const bool help = words.empty() || words.front() == "--help" || words.front() == "help";
    if (!error.empty() && !help) {
        std::cerr << "quenyxctl: " << error << "\n";
        return ctl::kFailed;
    }
    mod_Trace::ReadTraceSettings();
    std::ios::sync_with_stdio(false);
    const int status = ctl::Run(words, std::cout, std::cerr);
    std::cout.flush();
    return status;
}
