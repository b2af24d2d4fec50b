#include "options/AgentValues.h"

#include "platform/Text.h"
#include "platform/mod_RegWin.h"
#include "platform/mod_Trace.h"


namespace quenyx::options {

std::string AgentValue(const char* name, const char* defaultText)
{
    return mod_RegWin::GetSettingString(mod_RegWin::HKLM, mod_Trace::AgentKey, name, defaultText);
}

std::optional<int> ToNumber(std::string_view text) { return platform::ParseInteger<int>(text); }

} // namespace quenyx::options
