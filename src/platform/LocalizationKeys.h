#pragma once

#include <algorithm>
#include <array>
#include <string_view>

namespace quenyx::platform {

// Every key the console looks up in the text catalog, sorted; each catalog (quenyx_*.ts) holds exactly these.
// A key is written as a string literal where it is used, so that the catalog tests find every use in the sources:
//   texts: GetLocalizedString(<literal key>), or a file's own Text(<literal key>) shorthand for it
//   Tags:  SetTag(control, <literal key>), the key possibly followed by ':'
// Keys kept in a table instead (the setting catalog's descriptions) are checked by looking them up.
inline constexpr std::array<std::string_view, 73> kLocalizationKeys{
    "About",
    "AccountingAndUBSMonitor",
    "Action",
    "Add",
    "Application",
    "Apply",
    "Billing",
    "BillingDisable",
    "Cancel",
    "ChooseSequenceValueName",
    "Close",
    "ControlNotInstalled",
    "DCSServerDescription",
    "Datas",
    "DefineTraceConfigs",
    "DeleteConfirmSequenceValue",
    "DeniedAccess",
    "Description",
    "Directory",
    "Disable",
    "DisableAccountInformationDescription",
    "DisableAccountsDescription",
    "DisablePoupaToner",
    "DisableSecurePrint",
    "Disabled",
    "Edit",
    "Enable",
    "EnableSecurePrint2",
    "Enabled",
    "Exclude",
    "Full",
    "InsertDataToSaveInRegistry",
    "InsertNameAndValueToSaveInRegistry",
    "InsertSequenceValueData",
    "LoadingPrinterListWait",
    "LocalIdentifier",
    "Name",
    "No",
    "NoPermissionPrinterProperties",
    "OnlyNotifications",
    "PopUpExpirationDescription",
    "PoupaTonerName",
    "Printer",
    "Printers",
    "Properties",
    "QuenyxAdminDescription",
    "QuenyxAlteredControlConfigs",
    "QuenyxRunAsAdminInWin7",
    "Quit",
    "Refresh",
    "ReleaserAddress",
    "ReleaserAddressRequired",
    "RestartQuenyx",
    "SecurePrintChoiceActivation",
    "SecurePrintRuleDescription",
    "SelectedInstallation",
    "Settings02",
    "StartingQuenyxWait",
    "TimeUpdatePerfisDescription",
    "ToChange",
    "ToInsert",
    "Tools",
    "Trace",
    "TraceFileNotWritten",
    "TracePathRequired",
    "USBMonitor",
    "Value",
    "Version",
    "WaitRestartingQuenyx",
    "WarningWatcher",
    "WorkFolderDescription",
    "Yes",
    "rlsSafePrint",
};

static_assert(std::ranges::is_sorted(kLocalizationKeys));
static_assert(std::ranges::adjacent_find(kLocalizationKeys) == kLocalizationKeys.end());

constexpr bool IsLocalizationKey(std::string_view key)
{
    return std::ranges::binary_search(kLocalizationKeys, key);
}

} // namespace quenyx::platform
