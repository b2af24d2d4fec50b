// Stands in for Windows' net on an emulated machine: "quenyx-net stop|start <service>" with the machine
// folder in QUENYX_MACHINE records the command (unless its launcher did) and changes the service's state,
// exiting as net would.
#include "platform/emulated/EmulatedSystem.h"

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const std::vector<std::string> words(argv + (argc > 0 ? 1 : 0), argv + argc);
    const char* folder = std::getenv("QUENYX_MACHINE");
    if (!folder || !*folder) {
        std::cerr << "quenyx-net: QUENYX_MACHINE names no emulated machine\n";
        return 1;
    }
    std::string error;
    const auto system = quenyx::platform::EmulatedSystem::Open(folder, error);
    if (!system) {
        std::cerr << "quenyx-net: " << error << '\n';
        return 1;
    }
    // Launched by the console, the command is recorded already, in the order of the launches.
    const char* recorded = std::getenv(quenyx::platform::EmulatedSystem::kNetRecordedVariable);
    const auto outcome = system->RunNet(words, !(recorded && *recorded == '1'));
    (outcome.exitCode == 0 ? std::cout : std::cerr) << outcome.message << '\n';
    return outcome.exitCode;
}
