#include "session/mod_Main.h"

#include "platform/Text.h"

namespace quenyx::mod_Main {

namespace {
bool g_configsAltered = false;
bool g_ecoTonerEnabled = false;
} // namespace

bool configsAltered()
{
    return g_configsAltered;
}
void setConfigsAltered(bool altered)
{
    g_configsAltered = altered;
}
bool ecoTonerEnabled()
{
    return g_ecoTonerEnabled;
}
void setEcoTonerEnabled(bool enabled)
{
    g_ecoTonerEnabled = enabled;
}

bool IsEcoTonerSwitch(std::string_view argumentText)
{
    return platform::EqualsIgnoringCase(argumentText, "-ecoToner");
}

} // namespace quenyx::mod_Main
