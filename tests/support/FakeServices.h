#pragma once

#include "platform/Services.h"
#include "platform/UserInterface.h"

#include <map>
#include <string>
#include <vector>

namespace quenyx::test {

// What the fakes below did, in one list, so a test sees how commands, pauses and boxes interleave.
struct EventLog
{
    std::vector<std::string> events;
};

// Answers each service name as told; an unknown name is NoService.
class FakeServiceControl final : public platform::ServiceControl
{
public:
    struct Answer
    {
        platform::ServiceQuery result = platform::ServiceQuery::Done;
        std::uint32_t state = 0;
    };
    std::map<std::string, Answer> answers;

    platform::ServiceQuery QueryServiceState(const std::string& name, std::uint32_t& state) override
    {
        const auto found = answers.find(name);
        if (found == answers.end())
            return platform::ServiceQuery::NoService;
        state = found->second.state;
        return found->second.result;
    }
};

// "hidden: <command line>" or "normal: <command line>"; answers `starts` (true: the child started).
class RecordingLauncher final : public platform::ProcessLauncher
{
public:
    explicit RecordingLauncher(EventLog& log) : log_(log) {}
    bool starts = true;
    bool StartHidden(const std::string& line) override { return Record("hidden: " + line); }
    bool StartNormal(const std::string& line) override { return Record("normal: " + line); }

private:
    bool Record(std::string event)
    {
        log_.events.push_back(std::move(event));
        return starts;
    }
    EventLog& log_;
};

// "sleep <ms>", and no sleeping.
class RecordingSleeper final : public platform::Sleeper
{
public:
    explicit RecordingSleeper(EventLog& log) : log_(log) {}
    void Sleep(std::uint32_t milliseconds) override { log_.events.push_back("sleep " + std::to_string(milliseconds)); }

private:
    EventLog& log_;
};

// "wait: <text>", "message: <text>", "hide"; a message is acknowledged at once.
class RecordingUserInterface final : public platform::UserInterface
{
public:
    explicit RecordingUserInterface(EventLog& log) : log_(log) {}
    void ShowWait(const std::string& text) override { log_.events.push_back("wait: " + text); }
    void HideWait() override { log_.events.push_back("hide"); }
    void ShowMessage(const std::string& text) override { log_.events.push_back("message: " + text); }

private:
    EventLog& log_;
};

} // namespace quenyx::test
