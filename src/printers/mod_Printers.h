#pragma once

#include "printers/Printer.h"

#include <optional>
#include <string>

// Finding the printers of this machine's spooler and of the cluster print server the agent serves.
namespace quenyx::mod_Printers {

inline constexpr const char* SpoolerPrintersKey = "SYSTEM\\CurrentControlSet\\Control\\Print\\Printers";

// Adds a Printer to printers() for every subkey of `keyPath` that is to be listed. False when an error
// (a TessalineID that is not a 16-bit integer) ended the search; the printers added before it stay.
bool SearchPrinters(const std::string& keyPath, const std::string& clusterName);

// True for a cluster printer, and for a printer of this machine that the spooler can open.
bool ExistPrinter(const std::string& printerName, const std::string& clusterName);

// Asks the printer status component about `printer` and sets its flags; true when it answered.
bool EditPrinter(printers::Printer& printer);

// The key holding the printers of the cluster named `clusterName`, or of this machine's spooler for "";
// "" for a cluster that is not known.
std::string PrintersKeyOf(const std::string& clusterName);

// The name the spooler and the status component know a printer by: "\\\\Cluster\\Queue" for a cluster's.
std::string FullPrinterName(const printers::Printer& printer);

// The first printer with this exact name, or null.
std::shared_ptr<printers::Printer> GetPrinterByName(const std::string& printerName);

// With cluster support on: the print spooler resources whose virtual server is the agent's ClusterName
// become Clusters, and their printers are searched.
void SearchClusterPrinters();

// The registry text as a 16-bit signed integer: optional blanks around an optional sign and digits.
std::optional<std::int16_t> ToInt16(const std::string& text);

} // namespace quenyx::mod_Printers
