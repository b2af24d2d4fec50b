#pragma once

#include <optional>
#include <string>
#include <string_view>

// Values of the agent key as the options and About dialogs take them.
namespace quenyx::options {

std::string AgentValue(const char* name, const char* defaultText);

// The text as a whole number, blanks around it allowed; nothing for any other text, which the dialogs then take
// as matching none of the numbers they know (no installation type, a box left unchecked).
std::optional<int> ToNumber(std::string_view text);

} // namespace quenyx::options
