#include "settings/SettingRules.h"

#include "platform/Text.h"

#include <algorithm>
#include <array>

namespace quenyx::settings {

namespace {

constexpr std::array<CatalogRow, 6> kCatalog{{
    {"DCSServer", "String", "DCSServerDescription"},
    {"DisableAccounts", "Boolean", "DisableAccountsDescription"},
    {"DisableAccountInformation", "Boolean", "DisableAccountInformationDescription"},
    {"WorkFolder", "String", "WorkFolderDescription"},
    {"TimeUpdatePerfis", "Integer", "TimeUpdatePerfisDescription"},
    {"PopUpExpiration", "Integer", "PopUpExpirationDescription"},
}};

constexpr std::array<const char*, 34> kReserved{
    "IDLogEvent",
    "StrongName",
    "PathInstall",
    "OSVersion",
    "InstallerLanguage",
    "PathSetup",
    "TimeUpdate",
    "ACLPDPort",
    "ACRemotePort",
    "CountLogs",
    "LastReport",
    "LastMonitor",
    "CryptographyVersion",
    "TimeLastPrintEvent",
    "TimeLastPrintProcessed",
    "LastProcessedFile",
    "WinVersion",
    "LastUpdate",
    "PrintersDataSNMPv3Enabled",
    "InventoryEnabled",
    "InventoryTimeUpdate",
    "OfflineBehavior",
    "ExecutionResult",
    "ExecutionDescription",
    "SecurePrintEnabled",
    "ReleaserServer",
    "DisableAccounting",
    "DisablePolicies",
    "SNMPCommunity",
    "LastDomain",
    "Version",
    "VersionControl",
    "SecurePrintChoiceEnabled",
    "LastOldSPAWarning",
};

} // namespace

std::span<const CatalogRow> CatalogRows()
{
    return kCatalog;
}

std::span<const char* const> ReservedNameList()
{
    return kReserved;
}

bool IsIntegerCharacter(char32_t typed)
{
    return typed == U'\b' || typed == U',' || (typed >= U'0' && typed <= U'9');
}

std::string KeepIntegerCharacters(std::string_view text)
{
    std::string kept;
    for (const char c : text)
        if (c != '\b' && IsIntegerCharacter(static_cast<unsigned char>(c)))
            kept.push_back(c);
    return kept;
}

std::optional<std::string> BooleanText(std::string_view word)
{
    const std::string lower = platform::AsciiLower(word);
    for (const char* on : {"on", "true", "1", "enable"})
        if (lower == on)
            return "1";
    for (const char* off : {"off", "false", "0", "disable"})
        if (lower == off)
            return "0";
    return std::nullopt;
}

std::string CatalogType(std::string_view name)
{
    const auto found = std::ranges::find_if(
        kCatalog, [&](const CatalogRow& row) { return platform::EqualsIgnoringCase(row.key, name); });
    return found == kCatalog.end() ? std::string() : found->valueType;
}

bool IsReservedName(std::string_view name)
{
    for (const char* reserved : kReserved)
        if (platform::EqualsIgnoringCase(reserved, name))
            return true;
    return false;
}

SettingCheck CheckSetting(std::string_view name, std::string_view text, std::string& stored)
{
    stored.clear();
    if (name.empty())
        return SettingCheck::NoName;
    if (IsReservedName(name))
        return SettingCheck::Reserved;
    const std::string type = CatalogType(name);
    if (type == "Boolean") {
        const auto value = BooleanText(text);
        if (!value)
            return SettingCheck::NotABoolean;
        stored = *value;
        return SettingCheck::Accepted;
    }
    stored = type == "Integer" ? KeepIntegerCharacters(text) : std::string(text);
    return stored.empty() ? SettingCheck::Empty : SettingCheck::Accepted;
}

} // namespace quenyx::settings
