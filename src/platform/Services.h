#pragma once

#include <cstdint>
#include <string>

namespace quenyx::platform {

// The Service Control Manager, asked the way the console asks it: open the manager for connecting,
// open the service for reading, query its status, close both.
enum class ServiceQuery {
    Done,          // `state` holds the service's current state (4 is running)
    NoManager,     // the manager could not be opened
    NoService,     // no such service, or no right to read it
    QueryFailed,   // the status query failed
};

class ServiceControl
{
public:
    virtual ~ServiceControl() = default;
    virtual ServiceQuery QueryServiceState(const std::string& serviceName, std::uint32_t& state) = 0;
};

// Starts a command line as a child process and returns at once; the outcome is never awaited.
class ProcessLauncher
{
public:
    virtual ~ProcessLauncher() = default;
    // A hidden child (no window), e.g. "net stop <service>". False when it could not be started.
    virtual bool StartHidden(const std::string& commandLine) = 0;
    // A child in a normal window, e.g. the system information tool.
    virtual bool StartNormal(const std::string& commandLine) = 0;
};

// Blocks the calling thread; tests install one that only records.
class Sleeper
{
public:
    virtual ~Sleeper() = default;
    virtual void Sleep(std::uint32_t milliseconds) = 0;
};

} // namespace quenyx::platform
