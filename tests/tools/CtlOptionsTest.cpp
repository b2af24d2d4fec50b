// quenyxctl's printer, trace, secure-print and restart commands: the properties and options dialogs' rules.
#include "CtlFixture.h"

#include "options/mod_TraceConfig.h"
#include "printers/mod_Printers.h"

namespace quenyx {
namespace {

using test::CtlTest;

const std::string kQueue = "Sala 2 Laser";
const std::string kPrinterKey = std::string(mod_Printers::SpoolerPrintersKey) + "\\" + kQueue;

class CtlPrinters : public CtlTest
{
protected:
    void SetUp() override
    {
        CtlTest::SetUp();
        ASSERT_EQ(machine->Admin().CreateKey(kPrinterKey), 0);
        spooler->openable = {kQueue};
        platform::Current().spooler = spooler;
        platform::Current().printerStatus = status;
    }

    // NCActivate, NCDisactivate, DisableSecurePrint, DisableEcoToner; "-" where not written.
    static std::string Written()
    {
        std::string values;
        for (const char* name : {"NCActivate", "NCDisactivate", "DisableSecurePrint", "DisableEcoToner"})
            values +=
                (values.empty() ? "" : " ") + mod_RegWin::GetSettingString(mod_RegWin::HKLM, kPrinterKey, name, "-");
        return values;
    }

    std::shared_ptr<test::FakeSpooler> spooler = std::make_shared<test::FakeSpooler>();
    std::shared_ptr<test::FakePrinterStatus> status = std::make_shared<test::FakePrinterStatus>();
};

struct SwitchCase
{
    const char* disableAccounts;    // the agent's DisableAccounts
    const char* securePrintEnabled; // the agent's SecurePrintEnabled
    const char* disableSecurePrint; // the printer's, "-" for none
    std::int32_t statusCode;        // the status component's answer: 1 server-disabled, 2 locally disabled
    std::vector<std::string> switches;
    int exitCode;
    const char* written;
};

// One test over the whole table: each case starts from a printer with no switches and a fresh search (a test of
// its own would cost a Wine start).
TEST_F(CtlPrinters, SwitchesWriteWhatApplyWritesForTheSameBoxes)
{
    const SwitchCase cases[] = {
        {"0", "1", "-", 0, {"--accounting", "off"}, 0, "0 1 - -"},
        {"1", "1", "-", 0, {"--accounting", "off"}, 0, "0 0 - -"}, // already off: Apply still writes both
        {"1", "1", "-", 0, {"--accounting", "on"}, 0, "1 0 0 -"},
        {"1", "1", "1", 0, {"--secure-print", "on", "--accounting", "on"}, 0, "1 0 0 -"},
        {"0", "1", "-", 0, {"--secure-print", "off"}, 0, "0 0 1 -"},
        {"0", "0", "-", 0, {"--secure-print", "on"}, 2, "- - - -"},
        {"0", "0", "-", 0, {"--eco-toner", "off"}, 0, "0 0 - 1"},
        {"0", "1", "-", 1, {"--accounting", "on"}, 2, "- - - -"},
        {"0", "1", "-", 2, {"--accounting", "on"}, 0, "0 0 0 -"},
        {"0", "1", "-", 0, {"--accounting", "maybe"}, 2, "- - - -"},
    };
    for (const SwitchCase& c : cases) {
        std::string name = std::string("DisableAccounts ") + c.disableAccounts + ", SecurePrintEnabled " +
                           c.securePrintEnabled + ", DisableSecurePrint " + c.disableSecurePrint + ", status " +
                           std::to_string(c.statusCode) + ":";
        for (const std::string& word : c.switches)
            name += " " + word;
        SCOPED_TRACE(name);
        ASSERT_EQ(machine->Admin().DeleteKeyTree(kPrinterKey), 0);
        ASSERT_EQ(machine->Admin().CreateKey(kPrinterKey), 0);
        printers::printers().Clear();
        StoreAgent("DisableAccounts", c.disableAccounts);
        StoreAgent("SecurePrintEnabled", c.securePrintEnabled);
        if (std::string(c.disableSecurePrint) != "-")
            Store(kPrinterKey, "DisableSecurePrint", c.disableSecurePrint);
        status->answers[kQueue] = {platform::StatusAnswer::Answered, c.statusCode};
        std::vector<std::string> words{"printer", kQueue};
        words.insert(words.end(), c.switches.begin(), c.switches.end());
        const auto outcome = Ctl(words);
        EXPECT_EQ(outcome.exitCode, c.exitCode) << outcome.err;
        EXPECT_EQ(Written(), c.written);
    }
}

TEST_F(CtlPrinters, ListsThePrintersAndASecondRunChangesNothing)
{
    StoreAgent("SecurePrintEnabled", "1");
    Store(kPrinterKey, "TessalineID", "12");
    EXPECT_EQ(Ctl({"--json", "printers"}).out,
              "{\"changed\":false,\"printers\":[{\"name\":\"Sala 2 Laser\",\"cluster\":null,\"id\":\"12\","
              "\"accounting\":\"on\",\"secure_print\":\"on\",\"eco_toner\":\"on\"}]}\n");
    const std::vector<std::string> words{"--json", "printer", kQueue, "--secure-print", "off", "--eco-toner", "off"};
    EXPECT_EQ(Ctl(words).out.rfind("{\"changed\":true,", 0), 0u);
    printers::printers().Clear();
    const auto second = Ctl(words);
    EXPECT_EQ(second.out.rfind("{\"changed\":false,", 0), 0u);
    EXPECT_NE(second.out.find("\"secure_print\":\"off\",\"eco_toner\":\"off\""), std::string::npos) << second.out;
    EXPECT_EQ(Ctl({"printer", "Nowhere"}).exitCode, 2);
}

class CtlTrace : public CtlTest
{
protected:
    void SetUp() override
    {
        CtlTest::SetUp();
        StoreAgent("PathInstall", machine->Folder());
        StoreAgent("InstallType", "2");
        for (const auto& component : mod_Trace::kTraceComponents)
            WriteHost(File(component.configFile), "[log]\r\nbase_filename = \"C:/Logs/" +
                                                      std::string(component.logFile) +
                                                      "\"\r\nlevel = \"warn\"\r\nrotate = 7\r\n");
    }
    std::string File(std::string_view name) const { return machine->Folder() + "\\" + std::string(name); }
};

TEST_F(CtlTrace, ALevelRewritesOnlyTheComponentsLevelLine)
{
    const std::string listener = File("Quenyx.Agent.Listener.Service.toml");
    const std::string sender = ReadHost(File("Quenyx.Agent.Sender.Service.toml"));
    EXPECT_EQ(Ctl({"--json", "trace", "listener", "Debug"}).out.rfind("{\"changed\":true,", 0), 0u);
    EXPECT_EQ(ReadHost(listener), "[log]\r\nbase_filename = \"C:/Logs/Quenyx.Agent.Listener.txt\"\r\n"
                                  "level = \"debug\"\r\nrotate = 7\r\n");
    EXPECT_EQ(ReadHost(File("Quenyx.Agent.Sender.Service.toml")), sender);
    const auto again = Ctl({"--json", "trace", "Listener", "debug"});
    EXPECT_EQ(again.out.rfind("{\"changed\":false,\"trace\":[{\"component\":\"Listener\",\"level\":\"Debug\",", 0), 0u)
        << again.out;
    EXPECT_NE(again.out.find("\"folder\":\"C:\\\\Logs\\\\\"}"), std::string::npos) << again.out;
    for (const char* refused : {"Verbose", "Debug!!"})
        EXPECT_EQ(Ctl({"trace", "Sender", refused}).exitCode, 2) << refused;
    EXPECT_EQ(Ctl({"trace", "Watcher", "Info"}).exitCode, 2) << "no Watcher on installation type 2";
}

TEST_F(CtlTrace, AFolderRewritesEveryFileOrNone)
{
    EXPECT_EQ(Ctl({"--check", "trace-folder", "D:\\T"}).exitCode, 0);
    EXPECT_EQ(Ctl({"--json", "trace-folder", "D:\\T"}).out.rfind("{\"changed\":true,", 0), 0u);
    EXPECT_EQ(ReadHost(File("Quenyx.Agent.UICaller.toml")),
              "[log]\r\nbase_filename = \"D:/T/Quenyx.Agent.UICaller.txt\"\r\nlevel = \"warn\"\r\nrotate = 7\r\n");
    EXPECT_EQ(Ctl({"--json", "trace-folder", "D:\\T\\"}).out.rfind("{\"changed\":false,", 0), 0u);

    const std::string guardian = ReadHost(File("Quenyx.Agent.Guardian.Service.toml"));
    std::filesystem::remove(machine->HostPath(File("Quenyx.Agent.HttpServer.Service.toml")));
    const auto outcome = Ctl({"trace-folder", "E:\\U"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_NE(outcome.err.find("Quenyx.Agent.HttpServer.Service.toml"), std::string::npos) << outcome.err;
    EXPECT_EQ(ReadHost(File("Quenyx.Agent.Guardian.Service.toml")), guardian);
}

TEST_F(CtlTest, SecurePrintStoresWhatTheOptionsDialogStores)
{
    EXPECT_EQ(Ctl({"secure-print", "on"}).exitCode, 2) << "no releaser address";
    EXPECT_EQ(Ctl({"--json", "secure-print", "on", "--releaser", "rel01", "--user-choice", "on"})
                  .out.rfind("{\"changed\":true,", 0),
              0u);
    EXPECT_EQ(Agent("SecurePrintEnabled") + Agent("ReleaserServer") + Agent("SecurePrintChoiceEnabled"), "1rel011");
    EXPECT_EQ(Ctl({"--json", "secure-print", "on"}).out.rfind("{\"changed\":false,", 0), 0u);
    EXPECT_EQ(Ctl({"secure-print", "off"}).exitCode, 0);
    EXPECT_EQ(Agent("SecurePrintEnabled") + Agent("ReleaserServer") + Agent("SecurePrintChoiceEnabled"), "0rel01-");
}

TEST_F(CtlTest, RestartUsesTheConsolesOrderAndPauses)
{
    test::EventLog log;
    platform::Current().processes = std::make_shared<test::RecordingLauncher>(log);
    platform::Current().sleeper = std::make_shared<test::RecordingSleeper>(log);
    EXPECT_EQ(Ctl({"restart"}).exitCode, 1) << "not installed";
    StoreAgent("PathInstall", "C:\\Agent");
    EXPECT_EQ(Ctl({"--restart", "set", "DCSServer", "a"}).exitCode, 0);
    std::vector<std::string> expected;
    for (const char* verb : {"stop", "start"}) {
        for (const char* service : {"listener", "sender", "httpServer", "liveupdate", "Guardian"})
            expected.push_back(std::string("hidden: net ") + verb + " Quenyx.Agent." + service);
        expected.push_back(verb == std::string("stop") ? "sleep 10000" : "sleep 2000");
    }
    EXPECT_EQ(log.events, expected);
    log.events.clear();
    EXPECT_EQ(Ctl({"--restart", "set", "DCSServer", "a"}).exitCode, 0);
    EXPECT_TRUE(log.events.empty()) << "nothing changed, nothing restarted";
}

} // namespace
} // namespace quenyx
