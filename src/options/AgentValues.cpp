#include "options/AgentValues.h"

#include "platform/mod_RegWin.h"
#include "platform/mod_Trace.h"

#include <charconv>

namespace quenyx::options {

std::string AgentValue(const char* name, const char* defaultText)
{
    return mod_RegWin::GetSettingString(mod_RegWin::HKLM, mod_Trace::AgentKey, name, defaultText);
}

std::optional<int> ToNumber(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace quenyx::options
