#pragma once

#include "FakeDevices.h"
#include "FakeServices.h"
#include "TestMachine.h"

#include "Ctl.h"
#include "platform/Files.h"
#include "platform/mod_RegWin.h"
#include "platform/mod_Trace.h"
#include "printers/Printer.h"
#include "settings/AgentSettings.h"

#include <gtest/gtest.h>

#include <sstream>

namespace quenyx::test {

struct CtlOutcome
{
    int exitCode;
    std::string out, err;
};

// quenyxctl's command layer on a private machine of this build's backend, with the agent key in place.
class CtlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        machine = TestMachine::Create();
        ASSERT_EQ(machine->Admin().CreateKey(mod_Trace::AgentKey), 0);
        printers::printers().Clear();
        printers::clusters().Clear();
        for (auto* list : {&settings::SettingCatalog(), &settings::ReservedSettingNames()})
            list->Clear();
    }
    void TearDown() override
    {
        printers::printers().Clear();
        printers::clusters().Clear();
        mod_Trace::ResetTraceSettings();
    }

    CtlOutcome Ctl(const std::vector<std::string>& words)
    {
        std::ostringstream out, err;
        const int code = ctl::Run(words, out, err);
        return {code, out.str(), err.str()};
    }

    static std::string Agent(const std::string& name, const std::string& absent = "-")
    {
        return mod_RegWin::GetSettingString(mod_RegWin::HKLM, mod_Trace::AgentKey, name, absent);
    }
    static void Store(const std::string& key, const std::string& name, const std::string& text)
    {
        ASSERT_EQ(mod_RegWin::SaveSettingString(mod_RegWin::HKLM, key, name, text), 0) << name;
    }
    static void StoreAgent(const std::string& name, const std::string& text) { Store(mod_Trace::AgentKey, name, text); }

    std::string ReadHost(const std::string& windowsPath)
    {
        return platform::ReadWholeFile(machine->HostPath(windowsPath)).value_or("<missing>");
    }
    void WriteHost(const std::string& windowsPath, const std::string& bytes)
    {
        ASSERT_TRUE(platform::WriteWholeFile(machine->HostPath(windowsPath), bytes)) << windowsPath;
    }

    std::unique_ptr<TestMachine> machine;
};

} // namespace quenyx::test
