#pragma once

#include <array>
#include <string>

// The agent's Windows services: is one running, and restarting them through hidden "net stop" and
// "net start" children paced by fixed sleeps. No outcome of a child is awaited or reported.
namespace quenyx::mod_Services {

inline constexpr const char* ListenerService = "Quenyx.Agent.listener";

// The services RestartAgentServices stops and starts, in this order.
inline constexpr std::array<const char*, 5> AgentServices{"Quenyx.Agent.listener", "Quenyx.Agent.sender",
                                                          "Quenyx.Agent.httpServer", "Quenyx.Agent.liveupdate",
                                                          "Quenyx.Agent.Guardian"};

// True only when the service exists and its current state is running (4); any failure gives false.
bool IsServiceRunning(const std::string& serviceName);

// Stops the listener, sleeps 5000 ms, starts it, sleeps 2000 ms.
void StartListener();

// Behind the "WaitRestartingQuenyx" wait box: with the agent installed (PathInstall not empty) stops the
// five services, sleeps 10000 ms, starts them, sleeps 2000 ms; otherwise shows "ControlNotInstalled".
void RestartAgentServices();

} // namespace quenyx::mod_Services
