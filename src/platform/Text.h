#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quenyx::platform {

// Registry names compare the way Windows compares them: upper-cased. Only ASCII letters fold; other
// characters compare as they are.
std::string FoldName(std::string_view name);
std::string AsciiLower(std::string_view text);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// "A\B\C" -> {"A", "B", "C"}; a trailing backslash is ignored. False for an empty component inside.
bool SplitKeyPath(std::string_view path, std::vector<std::string>& parts);

} // namespace quenyx::platform
