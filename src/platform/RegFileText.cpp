#include "platform/RegFileText.h"

#include "platform/Registry.h"
#include "platform/Utf.h"

#include <array>

namespace quenyx::platform::regfile {

namespace {

void AppendUtf16Le(std::string& out, char16_t unit)
{
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>(unit >> 8));
}

} // namespace

bool IsUtf8(std::string_view text)
{
    char32_t cp = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = Utf8SequenceAt(text, i, cp);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

std::string ToUtf16Le(std::string_view text)
{
    std::string out;
    out.reserve(text.size() * 2);
    char32_t cp = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = Utf8SequenceAt(text, i, cp);
        if (length == 0) {
            AppendUtf16Le(out, static_cast<char16_t>(0xDC00 + static_cast<unsigned char>(text[i])));
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            AppendUtf16Le(out, static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            AppendUtf16Le(out, static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            AppendUtf16Le(out, static_cast<char16_t>(cp));
        }
        i += length;
    }
    return out;
}

std::string FromUtf16Le(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    const std::size_t units = bytes.size() / 2;
    const auto unitAt = [&](std::size_t k) {
        return static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * k]) |
                                     (static_cast<unsigned char>(bytes[2 * k + 1]) << 8));
    };
    for (std::size_t k = 0; k < units; ++k) {
        const char16_t unit = unitAt(k);
        if (unit >= 0xD800 && unit <= 0xDBFF && k + 1 < units && unitAt(k + 1) >= 0xDC00 && unitAt(k + 1) <= 0xDFFF) {
            AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(k + 1) - 0xDC00));
            ++k;
        } else if (unit >= 0xDC80 && unit <= 0xDCFF) {
            out.push_back(static_cast<char>(unit - 0xDC00));
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            AppendUtf8(out, 0xFFFD);
        } else {
            AppendUtf8(out, unit);
        }
    }
    if (bytes.size() % 2)
        AppendUtf8(out, 0xFFFD);
    return out;
}

std::string FromWindows1252(std::string_view bytes)
{
    // 0x80..0x9F; the five holes of the code page map to the C1 controls, as Windows maps them.
    static constexpr std::array<char16_t, 32> kHigh = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                       0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        AppendUtf8(out, byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : byte);
    }
    return out;
}

bool IsStringType(std::uint32_t type)
{
    return type == reg_type::String || type == reg_type::ExpandString || type == reg_type::MultiString;
}

std::string JoinKeyPath(const std::string& parent, std::string_view child)
{
    return parent.empty() ? std::string(child) : parent + "\\" + std::string(child);
}

} // namespace quenyx::platform::regfile
