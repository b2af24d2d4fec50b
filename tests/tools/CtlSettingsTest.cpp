// quenyxctl's settings commands: the dialogs' checks, idempotence, --check, exit codes and .reg files.
#include "CtlFixture.h"

#include <algorithm>

namespace quenyx {
namespace {

using test::CtlTest;

struct SetCase
{
    const char* name;
    const char* text;
    int exitCode;
    const char* stored; // "-": nothing stored
};

// One test over the whole table: each case starts from an empty agent key (a test of its own would cost a Wine start).
TEST_F(CtlTest, SetStoresWhatTheDialogsStoreAndRefusesTheRest)
{
    for (const SetCase& c :
         {SetCase{"DisableAccounts", "on", 0, "1"}, SetCase{"DisableAccounts", "Enable", 0, "1"},
          SetCase{"DisableAccountInformation", "FALSE", 0, "0"}, SetCase{"DisableAccounts", "0", 0, "0"},
          SetCase{"DisableAccounts", "yes", 2, "-"}, SetCase{"TimeUpdatePerfis", "1a,5", 0, "1,5"},
          SetCase{"PopUpExpiration", "-x", 2, "-"}, SetCase{"DCSServer", "", 2, "-"},
          SetCase{"dcsserver", "srv 02", 0, "srv 02"}, SetCase{"EnableCluster", "1", 0, "1"},
          SetCase{"Version", "9.9", 2, "-"}, SetCase{"securePrintEnabled", "1", 2, "-"}}) {
        SCOPED_TRACE(std::string("set ") + c.name + " '" + c.text + "'");
        ASSERT_EQ(machine->Admin().DeleteKeyTree(mod_Trace::AgentKey), 0);
        ASSERT_EQ(machine->Admin().CreateKey(mod_Trace::AgentKey), 0);
        const auto outcome = Ctl({"set", c.name, c.text});
        EXPECT_EQ(outcome.exitCode, c.exitCode) << outcome.err;
        EXPECT_EQ(Agent(c.name), c.stored);
        if (c.exitCode != 0) {
            EXPECT_NE(outcome.err.find(c.name), std::string::npos) << "the error names the setting: " << outcome.err;
            EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
        }
    }
}

TEST_F(CtlTest, ASecondSetChangesNothingAndCheckWritesNothing)
{
    EXPECT_EQ(Ctl({"--json", "--check", "set", "DCSServer", "srv02"}).out,
              "{\"changed\":true,\"check\":true,\"settings\":[{\"name\":\"DCSServer\",\"text\":\"srv02\",\"type\":"
              "\"String\",\"description\":\"Address of the DCS server that the agent reports to.\"}]}\n");
    EXPECT_EQ(Agent("DCSServer"), "-");
    const auto first = Ctl({"--json", "set", "DCSServer", "srv02"});
    EXPECT_EQ(first.exitCode, 0);
    EXPECT_EQ(first.out.rfind("{\"changed\":true,\"settings\":[{\"name\":\"DCSServer\"", 0), 0u) << first.out;
    EXPECT_EQ(Ctl({"--json", "set", "DCSServer", "srv02"}).out.rfind("{\"changed\":false,", 0), 0u);
    EXPECT_EQ(Agent("DCSServer"), "srv02");
}

TEST_F(CtlTest, GetAndUnsetSayWhetherTheSettingIsThere)
{
    EXPECT_EQ(Ctl({"get", "WorkFolder"}).exitCode, 1);
    StoreAgent("WorkFolder", "C:\\Work");
    const auto got = Ctl({"--json", "get", "workfolder"});
    EXPECT_EQ(got.exitCode, 0);
    EXPECT_NE(got.out.find("\"text\":\"C:\\\\Work\""), std::string::npos) << got.out;
    EXPECT_EQ(Ctl({"get", "WorkFolder"}).out, "C:\\Work\n");
    EXPECT_EQ(Ctl({"--check", "unset", "WorkFolder"}).out, "would change (nothing written: --check)\n");
    EXPECT_EQ(Agent("WorkFolder"), "C:\\Work");
    EXPECT_EQ(Ctl({"--json", "unset", "WorkFolder"}).out, "{\"changed\":true}\n");
    EXPECT_EQ(Ctl({"--json", "unset", "WorkFolder"}).out, "{\"changed\":false}\n");
    EXPECT_EQ(Ctl({"unset", "PathInstall"}).exitCode, 2);
}

TEST_F(CtlTest, SettingsListsTheViewsRowsWithoutReservedNames)
{
    StoreAgent("DisableAccounts", "1");
    StoreAgent("Version", "5.1");
    StoreAgent("EnableCluster", "1");
    const auto listed = Ctl({"settings"});
    EXPECT_EQ(listed.exitCode, 0);
    EXPECT_EQ(listed.out, "name             text  type     description\n"
                          "EnableCluster    1\n"
                          "DisableAccounts  1     Boolean  When enabled, accounting is off on every printer except "
                          "those switched on one by one in their properties.\n"
                          "no change\n");
}

TEST_F(CtlTest, AWriteRefusedForLackOfRightsExitsWith5AndWritesNothing)
{
    if (!machine->DenyWrite(mod_Trace::AgentKey))
        GTEST_SKIP() << "refusing a write to the registry needs the emulated machine; Wine runs as an administrator";
    const auto outcome = Ctl({"set", "DCSServer", "srv02"});
    EXPECT_EQ(outcome.exitCode, 5);
    EXPECT_NE(outcome.err.find("DCSServer"), std::string::npos);
    EXPECT_NE(outcome.err.find("elevated"), std::string::npos);
    EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
    EXPECT_EQ(Agent("DCSServer"), "-");
    EXPECT_EQ(Ctl({"secure-print", "on", "--releaser", "r1"}).exitCode, 5);
    EXPECT_EQ(Agent("SecurePrintEnabled"), "-");
}

TEST_F(CtlTest, ExportLeavesReservedNamesOutAndImportChecksEveryValueFirst)
{
    StoreAgent("DCSServer", "srv01");
    StoreAgent("Version", "5.1");
    const std::string file = machine->HostPath(machine->Folder() + "\\agent.reg").string();
    EXPECT_EQ(Ctl({"--json", "export", file}).out.rfind("{\"changed\":true,", 0), 0u);
    EXPECT_EQ(Ctl({"--json", "export", file}).out.rfind("{\"changed\":false,", 0), 0u);
    const std::string exported = platform::ReadWholeFile(file).value_or("");
    EXPECT_EQ(exported.rfind("\xFF\xFEW\0i\0n\0", 0), 0u) << "a UTF-16LE version 5.00 file";
    const auto utf16 = [](const std::string& text) {
        std::string wide;
        for (const char c : text)
            wide += std::string{c, '\0'};
        return wide;
    };
    EXPECT_NE(exported.find(utf16("\"DCSServer\"=\"srv01\"")), std::string::npos);
    EXPECT_EQ(exported.find(utf16("\"Version\"")), std::string::npos);

    const auto import = [&](const std::string& body) {
        std::ignore = platform::WriteWholeFile(file, "Windows Registry Editor Version 5.00\r\n\r\n"
                                                     "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tessaline\\Quenyx\\Agent]\r\n" +
                                                         body);
        return Ctl({"--json", "import", file});
    };
    for (const char* refused : {"\"DCSServer\"=\"srv02\"\r\n\"Version\"=\"6\"\r\n",
                                "\"DCSServer\"=\"srv02\"\r\n\"DisableAccounts\"=\"maybe\"\r\n",
                                "\"DCSServer\"=\"srv02\"\r\n\"PopUpExpiration\"=dword:00000005\r\n",
                                "\"DCSServer\"=\"srv02\"\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other]\r\n"}) {
        EXPECT_EQ(import(refused).exitCode, 2) << refused;
        EXPECT_EQ(Agent("DCSServer"), "srv01") << refused;
    }
    const std::string good = "\"DCSServer\"=\"srv02\"\r\n\"DisableAccounts\"=\"true\"\r\n\"WorkFolder\"=-\r\n";
    EXPECT_EQ(import(good).out.rfind("{\"changed\":true,", 0), 0u);
    EXPECT_EQ(Agent("DCSServer") + Agent("DisableAccounts"), "srv021");
    EXPECT_EQ(import(good).out.rfind("{\"changed\":false,", 0), 0u);
    EXPECT_EQ(Agent("Version"), "5.1");
}

TEST_F(CtlTest, UsageErrorsExitWith2)
{
    for (const std::vector<std::string>& words : {std::vector<std::string>{},
                                                  {"frobnicate"},
                                                  {"--verbose", "settings"},
                                                  {"set", "DCSServer"},
                                                  {"printer"},
                                                  {"trace", "Listener"},
                                                  {"secure-print", "maybe"},
                                                  {"secure-print", "off", "--releaser", "r"}})
        EXPECT_EQ(Ctl(words).exitCode, 2) << ::testing::PrintToString(words);
    EXPECT_EQ(Ctl({"--help"}).exitCode, 0);
}

} // namespace
} // namespace quenyx
