#include "FakeDevices.h"
#include "TestMachine.h"

#include "platform/mod_RegWin.h"
#include "platform/mod_Trace.h"
#include "printers/mod_Printers.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace quenyx {
namespace {

using printers::printers;

class PrinterDiscovery : public ::testing::Test
{
protected:
    void SetUp() override
    {
        machine = test::TestMachine::Create();
        platform::Current().spooler = spooler;
        platform::Current().printerStatus = status;
        printers().Clear();
        printers::clusters().Clear();
        key = machine->Key("Printers");
        machine->MakeKey("Printers");
    }
    void TearDown() override
    {
        printers().Clear();
        printers::clusters().Clear();
        mod_Trace::ResetTraceSettings();
    }

    void AddPrinter(const std::string& name, const char* id, bool openable = true)
    {
        machine->MakeKey("Printers\\" + name);
        if (id)
            machine->SetString("Printers\\" + name, "TessalineID", std::string(id) + '\0');
        if (openable)
            spooler->openable.insert(name);
    }

    std::string Log()
    {
        std::ifstream in(machine->HostPath(machine->Folder() + "\\VeltrinAdmin_03122026.log"), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::string Listed()
    {
        std::string out;
        for (const auto& p : printers())
            out += p->printerName() + "=" + std::to_string(p->TessalineID()) + (p->serverDisabled() ? "S" : "") +
                   (p->localDisabled() ? "L" : "") + " ";
        return out;
    }

    std::unique_ptr<test::TestMachine> machine;
    std::shared_ptr<test::FakeSpooler> spooler = std::make_shared<test::FakeSpooler>();
    std::shared_ptr<test::FakePrinterStatus> status = std::make_shared<test::FakePrinterStatus>();
    std::string key;
};

TEST_F(PrinterDiscovery, ListsOpenablePrintersWithTheirIdentifierAndStatus)
{
    AddPrinter("A", "5");
    AddPrinter("B", nullptr);
    AddPrinter("C", "7", false);
    AddPrinter("D", "-32768");
    status->answers["A"] = {platform::StatusAnswer::Answered, 3};
    status->answers["B"] = {platform::StatusAnswer::Answered, 2};
    status->answers["D"] = {platform::StatusAnswer::Answered, 1};

    EXPECT_TRUE(mod_Printers::SearchPrinters(key, ""));
    EXPECT_EQ(Listed(), "A=5SL B=0L D=-32768S ");
}

struct StatusCase
{
    platform::StatusAnswer kind;
    std::int32_t code;
    const char* flags;
    bool laterPrintersQueried;
};

class StatusAnswers : public PrinterDiscovery, public ::testing::WithParamInterface<StatusCase>
{
};

TEST_P(StatusAnswers, SetTheFlagsAndStopQueryingAfterAFailure)
{
    AddPrinter("A", "1");
    AddPrinter("B", "2");
    status->answers["A"] = {GetParam().kind, GetParam().code};
    status->answers["B"] = {platform::StatusAnswer::Answered, 3};

    EXPECT_TRUE(mod_Printers::SearchPrinters(key, ""));
    EXPECT_EQ(Listed(), std::string("A=1") + GetParam().flags + " B=2" + (GetParam().laterPrintersQueried ? "SL " : " "));
    EXPECT_EQ(status->calls.size(), GetParam().laterPrintersQueried ? 2u : 1u);
}

INSTANTIATE_TEST_SUITE_P(Codes, StatusAnswers,
                         ::testing::Values(StatusCase{platform::StatusAnswer::Answered, 0, "", true},
                                           StatusCase{platform::StatusAnswer::Answered, 1, "S", true},
                                           StatusCase{platform::StatusAnswer::Answered, 2, "L", true},
                                           StatusCase{platform::StatusAnswer::Answered, 3, "SL", true},
                                           StatusCase{platform::StatusAnswer::Answered, 4, "", true},
                                           StatusCase{platform::StatusAnswer::Answered, -1, "", true},
                                           StatusCase{platform::StatusAnswer::NotAnswered, 3, "", false},
                                           StatusCase{platform::StatusAnswer::Failed, 3, "", false}));

class BadIdentifiers : public PrinterDiscovery, public ::testing::WithParamInterface<const char*>
{
};

TEST_P(BadIdentifiers, EndTheSearchKeepingTheEarlierPrinters)
{
    AddPrinter("A", "1");
    AddPrinter("B", GetParam());
    AddPrinter("C", "3");
    EXPECT_FALSE(mod_Printers::SearchPrinters(key, ""));
    EXPECT_EQ(Listed(), "A=1 ");
}

INSTANTIATE_TEST_SUITE_P(Texts, BadIdentifiers, ::testing::Values("abc", "70000", "", "32768", "-32769", "1e2", "12.5"));

TEST_F(PrinterDiscovery, IdentifiersAcceptBlanksAndASign)
{
    for (const auto& [text, value] : {std::pair{" 12 ", 12}, std::pair{"+7", 7}, std::pair{"32767", 32767}})
        EXPECT_EQ(mod_Printers::ToInt16(text), std::optional<std::int16_t>(value)) << text;
}

TEST_F(PrinterDiscovery, AnEmptySpoolerKeyListsNothingButLogsTheSentinel)
{
    mod_Trace::SetTraceSettings("1", machine->Folder());
    EXPECT_TRUE(mod_Printers::SearchPrinters(key, ""));
    EXPECT_EQ(printers().Count(), 0);
    const std::string log = Log();
    EXPECT_NE(log.find("[Printers]  - verificando 0: 0\r\n"), std::string::npos);
    EXPECT_NE(log.find("[ExistPrinter]  - OpenPrinter: 0\r\n"), std::string::npos);
    EXPECT_NE(log.find("[ExistPrinter]  - nao conseguiu abrir impressora\r\n"), std::string::npos);
}

TEST_F(PrinterDiscovery, StatusFailureIsLoggedAndNoFurtherStartLinesFollow)
{
    AddPrinter("A", "1");
    AddPrinter("B", "2");
    AddPrinter("C", "3");
    status->answers["A"] = {platform::StatusAnswer::Answered, 3};
    status->answers["B"] = {platform::StatusAnswer::Failed, 0};
    mod_Trace::SetTraceSettings("1", machine->Folder());
    EXPECT_TRUE(mod_Printers::SearchPrinters(key, ""));
    const std::string log = Log();
    EXPECT_NE(log.find("[Printers]  - statusPrinter: 3\r\n"), std::string::npos);
    EXPECT_NE(log.find("[Printers]  - erro no EditPrinter\r\n"), std::string::npos);
    EXPECT_EQ(log.find("start: C"), std::string::npos);
    EXPECT_NE(log.find("[SearchPrinters]  - adicionando =>  C\r\n"), std::string::npos);
}

TEST_F(PrinterDiscovery, FindGivesTheLastMatchAndGetPrinterByNameTheFirst)
{
    const auto local = printers().Add(1, "HP1", false, false, "");
    const auto clustered = printers().Add(2, "HP1", false, false, "SRV");
    EXPECT_EQ(printers().Find("HP1"), clustered);
    EXPECT_EQ(printers().Find("hp1"), nullptr);
    EXPECT_EQ(mod_Printers::GetPrinterByName("HP1"), local);
    EXPECT_EQ(mod_Printers::GetPrinterByName("hp1"), nullptr);

    printers().Item(1)->setLocalDisabled(true); // shared, not copied
    EXPECT_TRUE(local->localDisabled());
    EXPECT_EQ(printers().Item(0), nullptr);
    EXPECT_EQ(printers().Item(3), nullptr);
    EXPECT_FALSE(printers().Remove(3));
    EXPECT_TRUE(printers().Remove(1));
    EXPECT_EQ(printers().Item(1), clustered);
}

} // namespace
} // namespace quenyx
