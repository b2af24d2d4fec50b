<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>Quenyx</name>
    <message>
        <source>About</source>
        <translation>About</translation>
    </message>
    <message>
        <source>AccountingAndUBSMonitor</source>
        <translation>Accounting and USB Monitoring</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>Action</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Application</source>
        <translation>Application</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>Billing</source>
        <translation>Accounting</translation>
    </message>
    <message>
        <source>BillingDisable</source>
        <translation>Disable accounting</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ChooseSequenceValueName</source>
        <translation>Choose the name of the string value.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>ControlNotInstalled</source>
        <translation>Quenyx Agent is not installed on this computer.</translation>
    </message>
    <message>
        <source>DCSServerDescription</source>
        <translation>Address of the DCS server that the agent reports to.</translation>
    </message>
    <message>
        <source>Datas</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>DefineTraceConfigs</source>
        <translation>Set the trace options.</translation>
    </message>
    <message>
        <source>DeleteConfirmSequenceValue</source>
        <translation>Are you sure you want to delete this string value?</translation>
    </message>
    <message>
        <source>DeniedAccess</source>
        <translation>Access denied.</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>Directory</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>Disable</source>
        <translation>Disable</translation>
    </message>
    <message>
        <source>DisableAccountInformationDescription</source>
        <translation>When enabled, the agent does not collect the account information of the users who print.</translation>
    </message>
    <message>
        <source>DisableAccountsDescription</source>
        <translation>When enabled, accounting is off on every printer except those switched on one by one in their properties.</translation>
    </message>
    <message>
        <source>DisablePoupaToner</source>
        <translation>Disable EcoToner</translation>
    </message>
    <message>
        <source>DisableSecurePrint</source>
        <translation>Disable secure printing</translation>
    </message>
    <message>
        <source>Disabled</source>
        <translation>Disabled</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>Enable</source>
        <translation>Enable</translation>
    </message>
    <message>
        <source>EnableSecurePrint2</source>
        <translation>Enable secure printing</translation>
    </message>
    <message>
        <source>Enabled</source>
        <translation>Enabled</translation>
    </message>
    <message>
        <source>Exclude</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Full</source>
        <translation>Full</translation>
    </message>
    <message>
        <source>InsertDataToSaveInRegistry</source>
        <translation>Enter the new data and click Change to save it in the registry.</translation>
    </message>
    <message>
        <source>InsertNameAndValueToSaveInRegistry</source>
        <translation>Enter the name and the data of the string value and click Insert to save them in the registry.</translation>
    </message>
    <message>
        <source>InsertSequenceValueData</source>
        <translation>Enter the data of the string value.</translation>
    </message>
    <message>
        <source>LoadingPrinterListWait</source>
        <translation>Loading the printer list, please wait...</translation>
    </message>
    <message>
        <source>LocalIdentifier</source>
        <translation>Local identifier</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>NoPermissionPrinterProperties</source>
        <translation>You do not have permission to change the properties of this printer.</translation>
    </message>
    <message>
        <source>OnlyNotifications</source>
        <translation>Notifications only</translation>
    </message>
    <message>
        <source>PopUpExpirationDescription</source>
        <translation>Time, in seconds, after which the agent's pop-up windows close by themselves.</translation>
    </message>
    <message>
        <source>PoupaTonerName</source>
        <translation>EcoToner</translation>
    </message>
    <message>
        <source>Printer</source>
        <translation>Printer</translation>
    </message>
    <message>
        <source>Printers</source>
        <translation>Printers</translation>
    </message>
    <message>
        <source>Properties</source>
        <translation>Properties</translation>
    </message>
    <message>
        <source>QuenyxAdminDescription</source>
        <translation>Application for editing the Quenyx settings.</translation>
    </message>
    <message>
        <source>QuenyxAlteredControlConfigs</source>
        <translation>The Quenyx Agent settings have been changed.</translation>
    </message>
    <message>
        <source>QuenyxRunAsAdminInWin7</source>
        <translation>On Windows 7 and later, run Quenyx Agent Admin as an administrator (right-click it and choose Run as administrator).</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>ReleaserAddress</source>
        <translation>Quenyx Releaser address</translation>
    </message>
    <message>
        <source>ReleaserAddressRequired</source>
        <translation>Enter the Quenyx Releaser address.</translation>
    </message>
    <message>
        <source>RestartQuenyx</source>
        <translation>Do you want to restart Quenyx Agent now?</translation>
    </message>
    <message>
        <source>SecurePrintChoiceActivation</source>
        <translation>Let users choose between printing a document at once and holding it for later release</translation>
    </message>
    <message>
        <source>SecurePrintRuleDescription</source>
        <translation>All your network printers will be set up for secure printing. To turn it off for a particular printer, open that printer's properties.</translation>
    </message>
    <message>
        <source>SelectedInstallation</source>
        <translation>Selected installation</translation>
    </message>
    <message>
        <source>Settings02</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>StartingQuenyxWait</source>
        <translation>Starting Quenyx Agent, please wait...</translation>
    </message>
    <message>
        <source>TimeUpdatePerfisDescription</source>
        <translation>Interval, in minutes, between updates of the users' profiles.</translation>
    </message>
    <message>
        <source>ToChange</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>ToInsert</source>
        <translation>Insert</translation>
    </message>
    <message>
        <source>Tools</source>
        <translation>Tools</translation>
    </message>
    <message>
        <source>Trace</source>
        <translation>Trace</translation>
    </message>
    <message>
        <source>TraceFileNotWritten</source>
        <translation>These trace configuration files could not be read or written; their trace level and folder were not changed:</translation>
    </message>
    <message>
        <source>TracePathRequired</source>
        <translation>Enter the folder of the trace files.</translation>
    </message>
    <message>
        <source>USBMonitor</source>
        <translation>USB Monitoring</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Value data</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>WaitRestartingQuenyx</source>
        <translation>Restarting the Quenyx Agent services, please wait...</translation>
    </message>
    <message>
        <source>WarningWatcher</source>
        <translation>To turn on the Watcher trace, its service must be restarted manually.</translation>
    </message>
    <message>
        <source>WorkFolderDescription</source>
        <translation>Folder where the agent keeps its working files.</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>rlsSafePrint</source>
        <translation>Secure Print</translation>
    </message>
</context>
</TS>
