#pragma once

#include <charconv>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quenyx::platform {

// Registry names compare the way Windows compares them: upper-cased, every Latin, Greek and Cyrillic letter
// with it ("Ação" and "AÇÃO" are one name); other characters compare as they are. AsciiLower folds ASCII only,
// for the texts of files whose keywords are ASCII.
std::string FoldName(std::string_view name);
std::string AsciiLower(std::string_view text);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// "A\B\C" -> {"A", "B", "C"}; a trailing backslash is ignored. False for an empty component inside.
bool SplitKeyPath(std::string_view path, std::vector<std::string>& parts);

// A registry text as a whole number: blanks around it and a leading '+' allowed; nothing for any other text
// or for a number outside T.
template <typename T> std::optional<T> ParseInteger(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    T value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace quenyx::platform
