#include "printers/Printer.h"

namespace quenyx::printers {

PrinterCollection::Pointer PrinterCollection::Add(std::int16_t tessalineId, std::string printerName,
                                                  bool serverDisabled, bool localDisabled, std::string clusterName)
{
    auto printer = std::make_shared<Printer>();
    printer->setTessalineID(tessalineId);
    printer->setPrinterName(std::move(printerName));
    printer->setServerDisabled(serverDisabled);
    printer->setLocalDisabled(localDisabled);
    printer->setClusterName(std::move(clusterName));
    return Append(std::move(printer));
}

PrinterCollection::Pointer PrinterCollection::Find(const std::string& name) const
{
    Pointer found;
    for (const auto& printer : items_)
        if (printer->printerName() == name)
            found = printer;
    return found;
}

ClusterCollection::Pointer ClusterCollection::Add(std::string clusterName, std::string key)
{
    auto cluster = std::make_shared<Cluster>();
    cluster->setClusterName(std::move(clusterName));
    cluster->setKey(std::move(key));
    return Append(std::move(cluster));
}

ClusterCollection::Pointer ClusterCollection::Find(const std::string& name) const
{
    Pointer found;
    for (const auto& cluster : items_)
        if (cluster->clusterName() == name)
            found = cluster;
    return found;
}

PrinterCollection& printers()
{
    static PrinterCollection collection;
    return collection;
}

ClusterCollection& clusters()
{
    static ClusterCollection collection;
    return collection;
}

} // namespace quenyx::printers
