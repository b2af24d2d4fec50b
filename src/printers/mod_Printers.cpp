#include "printers/mod_Printers.h"

#include "platform/Platform.h"
#include "platform/Text.h"
#include "platform/mod_RegWin.h"
#include "platform/mod_Trace.h"

#include <charconv>
#include <vector>

namespace quenyx::mod_Printers {

using mod_RegWin::HKLM;
using mod_Trace::WriteTrace;

std::optional<std::int16_t> ToInt16(const std::string& text)
{
    return platform::ParseInteger<std::int16_t>(text);
}

bool SearchPrinters(const std::string& keyPath, const std::string& clusterName)
{
    // One view of the store for the whole search, the listing included; the lines of each printer are built
    // only while the log is on.
    const mod_RegWin::SharedReads oneView;
    std::vector<std::string> names;
    std::ignore = mod_RegWin::EnumKeys(HKLM, keyPath, names);
    WriteTrace("Printers", "Procurando impressoras.. -> " + keyPath);

    bool queryStatus = true;
    const bool tracing = mod_Trace::Tracing();
    std::string printerKey = keyPath + "\\"; // each printer's key in turn, in one buffer
    const std::size_t keyLength = printerKey.size();
    for (std::size_t position = 0; position < names.size(); ++position) {
        const std::string& name = names[position];
        if (tracing)
            WriteTrace("Printers", "verificando " + std::to_string(position) + ": " + name);
        printerKey.resize(keyLength);
        printerKey += name;
        const auto id = ToInt16(mod_RegWin::GetSettingString(HKLM, printerKey, "TessalineID", "0"));
        if (!id)
            return false;
        if (tracing)
            WriteTrace("Printers", "TessalineID: " + std::to_string(*id));
        if (ExistPrinter(name, clusterName)) {
            if (tracing)
                WriteTrace("SearchPrinters", "adicionando => " + clusterName + " " + name);
            const auto printer = printers::printers().Add(*id, name, false, false, clusterName);
            // Once the status component has failed to answer, the rest of this search goes without it.
            if (queryStatus)
                queryStatus = EditPrinter(*printer);
        }
    }
    return true;
}

bool ExistPrinter(const std::string& printerName, const std::string& clusterName)
{
    if (mod_Trace::Tracing())
        WriteTrace("ExistPrinter", "OpenPrinter: " + printerName);
    if (!clusterName.empty())
        return true;
    const auto& spooler = platform::Current().spooler;
    auto handle = spooler ? spooler->OpenPrinter(printerName) : nullptr;
    if (!handle) {
        WriteTrace("ExistPrinter", "nao conseguiu abrir impressora");
        return false;
    }
    WriteTrace("ExistPrinter", "OpenPrinter true");
    return true;
}

bool EditPrinter(printers::Printer& printer)
{
    const bool tracing = mod_Trace::Tracing();
    if (tracing)
        WriteTrace("Printers", "start: " + printer.printerName());
    const std::string fullName = FullPrinterName(printer);
    if (tracing)
        WriteTrace("Printers", "verificando impressora: " + fullName);

    const auto& component = platform::Current().printerStatus;
    std::int32_t status = 0;
    const platform::StatusAnswer answer = component
                                              ? component->GetPrinterStatus(printer.TessalineID(), fullName, status)
                                              : platform::StatusAnswer::Failed;
    if (answer == platform::StatusAnswer::Failed) {
        WriteTrace("Printers", "erro no EditPrinter");
        return false;
    }
    if (answer == platform::StatusAnswer::NotAnswered)
        return false;
    if (tracing)
        WriteTrace("Printers", "statusPrinter: " + std::to_string(status));
    if (status == 1 || status == 3)
        printer.setServerDisabled(true);
    if (status == 2 || status == 3)
        printer.setLocalDisabled(true);
    return true;
}

std::string PrintersKeyOf(const std::string& clusterName)
{
    if (clusterName.empty())
        return SpoolerPrintersKey;
    const auto cluster = printers::clusters().Find(clusterName);
    return cluster ? cluster->Key() : std::string();
}

std::string FullPrinterName(const printers::Printer& printer)
{
    return printer.clusterName().empty() ? printer.printerName()
                                         : "\\\\" + printer.clusterName() + "\\" + printer.printerName();
}

std::shared_ptr<printers::Printer> GetPrinterByName(const std::string& printerName)
{
    for (const auto& printer : printers::printers())
        if (printer->printerName() == printerName)
            return printer;
    return nullptr;
}

} // namespace quenyx::mod_Printers
