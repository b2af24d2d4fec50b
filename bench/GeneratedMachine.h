#pragma once

#include "platform/emulated/EmulatedMachine.h"
#include "platform/emulated/EmulatedSystem.h"

#include <filesystem>
#include <memory>

namespace quenyx::bench {

// An emulated machine made for one measurement and removed with it: `printers` printers in the spooler's
// key that its spooler opens (the status component answers 0 for each), an agent key of `values` values of
// which a few are catalog settings, and the agent's services running.
struct GeneratedMachine
{
    GeneratedMachine(int printers, int values);
    ~GeneratedMachine();
    GeneratedMachine(const GeneratedMachine&) = delete;
    GeneratedMachine& operator=(const GeneratedMachine&) = delete;

    // Installs the machine as the platform, with the diagnostic log in C:\Logs when `logging`.
    void Install(bool logging);

    std::filesystem::path folder;
    std::shared_ptr<platform::EmulatedMachine> registry;
    std::shared_ptr<platform::EmulatedSystem> system;
};

} // namespace quenyx::bench
