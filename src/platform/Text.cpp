#include "platform/Text.h"

#include "platform/Utf.h"

namespace quenyx::platform {

namespace {

bool Odd(char32_t c)
{
    return (c & 1) != 0;
}

// The simple upper case of the Latin, Greek and Cyrillic letters, as Windows' upcase table has them; every other
// character is its own upper case. The dotless i and the long s stay as they are, so they never meet ASCII names.
char32_t Upper(char32_t c)
{
    if (c >= 'a' && c <= 'z')
        return c - 0x20;
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) || (c >= 0x430 && c <= 0x44F))
        return c - 0x20;
    if (c == 0xFF)
        return 0x178;
    if (c == 0x3C2)
        return 0x3A3;
    if (c == 0x3AC)
        return 0x386;
    if (c >= 0x3AD && c <= 0x3AF)
        return c - 0x25;
    if (c == 0x3CC)
        return 0x38C;
    if (c == 0x3CD || c == 0x3CE)
        return c - 0x3F;
    if (c >= 0x450 && c <= 0x45F)
        return c - 0x50;
    // Pairs whose small letter comes second (odd), and the two runs of Latin Extended-A where it comes first.
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E) || (c >= 0x1CD && c <= 0x1DC))
        return Odd(c) ? c : c - 1;
    if ((c >= 0x100 && c <= 0x137 && c != 0x131) || (c >= 0x14A && c <= 0x177) || (c >= 0x1DE && c <= 0x1EF) ||
        (c >= 0x1F8 && c <= 0x21F) || (c >= 0x222 && c <= 0x233) || (c >= 0x460 && c <= 0x481) ||
        (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x52F) || (c >= 0x1E00 && c <= 0x1E95) ||
        (c >= 0x1EA0 && c <= 0x1EFF))
        return Odd(c) ? c - 1 : c;
    return c;
}

} // namespace

std::string FoldName(std::string_view name)
{
    // Names are nearly always ASCII, and every lookup folds one: the whole name is folded as ASCII in one
    // branch-free pass, and only a name that turns out not to be ASCII is folded again from its first
    // non-ASCII byte.
    std::string out(name);
    unsigned char seen = 0;
    for (char& c : out) {
        const auto byte = static_cast<unsigned char>(c);
        seen |= byte;
        c = static_cast<char>(byte - (static_cast<unsigned char>(byte - 'a') < 26 ? 'a' - 'A' : 0));
    }
    if (seen < 0x80)
        return out;
    std::size_t at = 0;
    while (static_cast<unsigned char>(name[at]) < 0x80)
        ++at;
    out.resize(at);
    out.reserve(name.size());
    while (at < name.size()) {
        char32_t c = static_cast<unsigned char>(name[at]);
        const std::size_t length = Utf8SequenceAt(name, at, c);
        if (length == 0) {
            out.push_back(name[at++]);
            continue;
        }
        AppendUtf8(out, Upper(c));
        at += length;
    }
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

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return FoldName(a) == FoldName(b);
}

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
