#include "printers/mod_Printers.h"

#include "platform/Text.h"
#include "platform/mod_RegWin.h"
#include "platform/mod_Trace.h"

#include <vector>

namespace quenyx::mod_Printers {

using mod_RegWin::HKLM;
using mod_Trace::WriteTrace;

void SearchClusterPrinters()
{
    std::string root = "Cluster";
    WriteTrace("Cluster", "start");

    std::vector<std::string> resources;
    if (mod_RegWin::EnumKeys(HKLM, root + "\\Resources", resources) == 0) {
        root = "0.Cluster";
        std::ignore = mod_RegWin::EnumKeys(HKLM, root + "\\Resources", resources);
    }
    const std::string agentCluster = mod_RegWin::GetSettingString(HKLM, mod_Trace::AgentKey, "ClusterName", "");

    for (const std::string& resource : resources) {
        const std::string resourceKey = root + "\\Resources\\" + resource;
        if (mod_RegWin::GetSettingString(HKLM, resourceKey, "Type", "0") != "Print Spooler")
            continue;
        const std::string printersKey = resourceKey + "\\Parameters\\Printers";
        std::vector<std::string> names;
        std::ignore = mod_RegWin::EnumKeys(HKLM, printersKey, names);
        WriteTrace("Cluster", "Total de impressoras no cluster = " + std::to_string(names.size() - 1));

        const std::string shortName = mod_RegWin::GetSettingString(
            HKLM, printersKey + "\\" + names.front() + "\\DsSpooler", "shortServerName", "0");
        if (shortName != "0" && platform::EqualsIgnoringCase(shortName, agentCluster)) {
            printers::clusters().Add(shortName, printersKey);
            std::ignore = SearchPrinters(printersKey, shortName);
        }
    }
}

} // namespace quenyx::mod_Printers
