#include "platform/Text.h"

namespace quenyx::platform {

std::string FoldName(std::string_view name)
{
    std::string out(name);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string AsciiLower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) { return FoldName(a) == FoldName(b); }

bool SplitKeyPath(std::string_view path, std::vector<std::string>& parts)
{
    parts.clear();
    if (!path.empty() && path.back() == '\\')
        path.remove_suffix(1);
    if (path.empty())
        return true;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = path.find('\\', start);
        const std::string_view part = path.substr(start, end == std::string_view::npos ? end : end - start);
        if (part.empty())
            return false;
        parts.emplace_back(part);
        if (end == std::string_view::npos)
            return true;
        start = end + 1;
    }
}

} // namespace quenyx::platform
