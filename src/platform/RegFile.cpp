#include "platform/RegFile.h"

namespace quenyx::platform {

bool ImportRegFile(std::string_view, RegistryAdmin&, RegFileError& error)
{
    error = {0, "not written yet"};
    return false;
}

bool ExportRegFile(RegistryAdmin&, std::string_view, std::string&, std::string& error)
{
    error = "not written yet";
    return false;
}

} // namespace quenyx::platform
