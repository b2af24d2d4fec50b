#include "options/AgentOptions.h"

#include "platform/Text.h"
#include "platform/mod_RegWin.h"
#include "platform/mod_Trace.h"

namespace quenyx::options {

std::optional<std::int16_t> LevelOfRow(std::string_view text)
{
    for (std::size_t row = 0; row < kLevelRows.size(); ++row) {
        std::string_view name = kLevelRows[row];
        if (platform::EqualsIgnoringCase(name, text) ||
            (name.ends_with('!') && platform::EqualsIgnoringCase(name.substr(0, name.size() - 1), text)))
            return static_cast<std::int16_t>(row);
    }
    return std::nullopt;
}

bool HasWatcher(std::optional<int> installType)
{
    return installType == 1 || installType == 5;
}

std::array<std::string, 7> TraceFilePaths(std::optional<int> installType, const std::string& pathInstall)
{
    mod_Trace::WriteTrace("frmOptions", "pathInstall: " + pathInstall);
    std::array<std::string, 7> paths;
    for (std::size_t index = 0; index < paths.size(); ++index)
        if (index != kWatcherFile || HasWatcher(installType))
            paths[index] = pathInstall + "\\" + std::string(mod_Trace::kTraceComponents[index].configFile);
    mod_Trace::WriteTrace("frmOptions", "listener: " + paths[kListenerFile]);
    mod_Trace::WriteTrace("frmOptions", "sender: " + paths[kSenderFile]);
    return paths;
}

std::string FolderOfListenerLog(std::string listenerBase)
{
    const std::string_view logFile = mod_Trace::kTraceComponents[kListenerFile].logFile;
    for (std::size_t at = listenerBase.find(logFile); at != std::string::npos; at = listenerBase.find(logFile, at))
        listenerBase.erase(at, logFile.size());
    return listenerBase;
}

std::string TraceFolder(std::string folder)
{
    if (folder.empty() || folder.back() != '\\')
        folder += '\\';
    return folder;
}

std::int32_t SaveSecurePrint(bool enabled, const std::string& releaser, bool choiceEnabled)
{
    using mod_RegWin::HKLM;
    const char* key = mod_Trace::AgentKey;
    std::int32_t refused = 0;
    const auto save = [&](const char* name, const std::string& text) {
        const std::int32_t status = mod_RegWin::SaveSettingString(HKLM, key, name, text);
        if (refused == 0)
            refused = status;
    };
    mod_RegWin::DeleteSettingValue(HKLM, key, "SecurePrintChoiceEnabled");
    save("SecurePrintEnabled", enabled ? "1" : "0");
    if (enabled) {
        save("ReleaserServer", releaser);
        if (choiceEnabled)
            save("SecurePrintChoiceEnabled", "1");
    }
    return refused;
}

} // namespace quenyx::options
