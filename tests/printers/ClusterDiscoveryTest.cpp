#include "FakeDevices.h"
#include "TestMachine.h"

#include "platform/mod_Trace.h"
#include "printers/mod_Printers.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace quenyx {
namespace {

using printers::clusters;
using printers::printers;

// The cluster database lives at the root of HKEY_LOCAL_MACHINE, so these run on the emulated machine's
// private registry (and, under Windows, in a fresh prefix).
class ClusterDiscovery : public ::testing::Test
{
protected:
    void SetUp() override
    {
        machine = test::TestMachine::Create();
        platform::Current().spooler = std::make_shared<test::FakeSpooler>();
        platform::Current().printerStatus = status;
        printers().Clear();
        clusters().Clear();
        Admin().CreateKey(mod_Trace::AgentKey);
    }
    void TearDown() override
    {
        printers().Clear();
        clusters().Clear();
        mod_Trace::ResetTraceSettings();
        for (const char* root : {"Cluster", "0.Cluster"})
            std::ignore = Admin().DeleteKeyTree(root);
    }

    platform::RegistryAdmin& Admin() { return machine->Admin(); }

    void SetString(const std::string& key, const std::string& name, const std::string& text)
    {
        ASSERT_EQ(Admin().CreateKey(key), 0);
        ASSERT_EQ(Admin().SetRawValue(key, {name, platform::reg_type::String, text + '\0'}), 0);
    }

    // A spooler resource with its printers; the first printer carries the short server name.
    void AddResource(const std::string& root, const std::string& resource, const std::string& type,
                     const std::string& shortName, const std::vector<std::string>& printerNames)
    {
        const std::string key = root + "\\Resources\\" + resource;
        SetString(key, "Type", type);
        ASSERT_EQ(Admin().CreateKey(key + "\\Parameters\\Printers"), 0);
        for (std::size_t i = 0; i < printerNames.size(); ++i) {
            const std::string printerKey = key + "\\Parameters\\Printers\\" + printerNames[i];
            SetString(printerKey, "TessalineID", std::to_string(10 + i));
            if (i == 0)
                SetString(printerKey + "\\DsSpooler", "shortServerName", shortName);
        }
    }

    std::string Found()
    {
        std::string out;
        for (const auto& c : clusters())
            out += "[" + c->clusterName() + " " + c->Key() + "] ";
        for (const auto& p : printers())
            out += p->clusterName() + "/" + p->printerName() + " ";
        return out;
    }

    std::unique_ptr<test::TestMachine> machine;
    std::shared_ptr<test::FakePrinterStatus> status = std::make_shared<test::FakePrinterStatus>();
};

TEST_F(ClusterDiscovery, TakesTheSpoolerResourceOfTheAgentsServerIgnoringCase)
{
    SetString(mod_Trace::AgentKey, "ClusterName", "PRNSRV");
    AddResource("Cluster", "Disk Q", "Physical Disk", "", {});
    AddResource("Cluster", "Other Spooler", "Print Spooler", "OTHER", {"X1"});
    AddResource("Cluster", "Spooler", "Print Spooler", "PrnSrv", {"Q1", "Q2"});
    AddResource("Cluster", "Lower Type", "print spooler", "PrnSrv", {"Z1"});

    mod_Printers::SearchClusterPrinters();
    EXPECT_EQ(Found(), "[PrnSrv Cluster\\Resources\\Spooler\\Parameters\\Printers] PrnSrv/Q1 PrnSrv/Q2 ");
    ASSERT_EQ(status->calls.size(), 2u);
    EXPECT_EQ(status->calls[0], (std::pair<std::int16_t, std::string>{10, "\\\\PrnSrv\\Q1"}));
}

TEST_F(ClusterDiscovery, MatchesAccentedNamesIgnoringCase)
{
    SetString(mod_Trace::AgentKey, "ClusterName", "\u00c9QUIPE");
    AddResource("Cluster", "Spooler", "Print Spooler", "\u00e9quipe", {"P"});
    mod_Printers::SearchClusterPrinters();
    EXPECT_EQ(Found(), "[\u00e9quipe Cluster\\Resources\\Spooler\\Parameters\\Printers] \u00e9quipe/P ");
}

TEST_F(ClusterDiscovery, FallsBackToTheSecondRootWhenTheFirstHasNoResources)
{
    SetString(mod_Trace::AgentKey, "ClusterName", "srv");
    AddResource("0.Cluster", "Spooler", "Print Spooler", "SRV", {"P"});
    mod_Printers::SearchClusterPrinters();
    EXPECT_EQ(Found(), "[SRV 0.Cluster\\Resources\\Spooler\\Parameters\\Printers] SRV/P ");
}

TEST_F(ClusterDiscovery, FindsNothingWithoutAClusterDatabaseOrAClusterName)
{
    mod_Printers::SearchClusterPrinters();
    EXPECT_EQ(Found(), "");
    AddResource("Cluster", "Spooler", "Print Spooler", "SRV", {"P"});
    mod_Printers::SearchClusterPrinters(); // the agent names no cluster
    EXPECT_EQ(Found(), "");
}

TEST_F(ClusterDiscovery, LogsThePrinterCountLessOne)
{
    SetString(mod_Trace::AgentKey, "ClusterName", "SRV");
    AddResource("Cluster", "A", "Print Spooler", "SRV", {"P1", "P2", "P3"});
    AddResource("Cluster", "B", "Print Spooler", "SRV", {});
    mod_Trace::SetTraceSettings("1", machine->Folder());
    mod_Printers::SearchClusterPrinters();

    std::ifstream in(machine->HostPath(machine->Folder() + "\\VeltrinAdmin_03122026.log"), std::ios::binary);
    std::stringstream log;
    log << in.rdbuf();
    EXPECT_NE(log.str().find("[Cluster]  - start\r\n"), std::string::npos);
    EXPECT_NE(log.str().find("[Cluster]  - Total de impressoras no cluster = 2\r\n"), std::string::npos);
    EXPECT_NE(log.str().find("[Cluster]  - Total de impressoras no cluster = 0\r\n"), std::string::npos);
    EXPECT_EQ(clusters().Count(), 1);
}

} // namespace
} // namespace quenyx
