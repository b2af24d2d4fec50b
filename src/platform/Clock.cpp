#include "platform/Clock.h"

#include <cstdio>

namespace quenyx::platform {

namespace {

std::string Padded(int value, std::size_t width)
{
    std::string digits = std::to_string(value);
    if (digits.size() < width)
        digits.insert(0, width - digits.size(), '0');
    return digits;
}

} // namespace

std::string FormatPicture(std::string_view picture, const LocalTime& t)
{
    std::string out;
    std::size_t i = 0;
    while (i < picture.size()) {
        const char c = picture[i];
        if (c == '\'') {
            const std::size_t end = picture.find('\'', i + 1);
            const std::size_t stop = end == std::string_view::npos ? picture.size() : end;
            out.append(picture.substr(i + 1, stop - i - 1));
            i = stop == picture.size() ? stop : stop + 1;
            continue;
        }
        std::size_t run = 1;
        while (i + run < picture.size() && picture[i + run] == c)
            ++run;
        const int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
        switch (c) {
        case 'd':
            out += run >= 2 ? Padded(t.day, 2) : std::to_string(t.day);
            break;
        case 'M':
            out += run >= 2 ? Padded(t.month, 2) : std::to_string(t.month);
            break;
        case 'y':
            out += run >= 3 ? Padded(t.year, 4) : Padded(t.year % 100, run >= 2 ? 2 : 1);
            break;
        case 'H':
            out += run >= 2 ? Padded(t.hour, 2) : std::to_string(t.hour);
            break;
        case 'h':
            out += run >= 2 ? Padded(hour12, 2) : std::to_string(hour12);
            break;
        case 'm':
            out += run >= 2 ? Padded(t.minute, 2) : std::to_string(t.minute);
            break;
        case 's':
            out += run >= 2 ? Padded(t.second, 2) : std::to_string(t.second);
            break;
        case 't':
            out += run >= 2 ? (t.hour < 12 ? "AM" : "PM") : (t.hour < 12 ? "A" : "P");
            break;
        default:
            out.append(run, c);
            break;
        }
        i += run;
    }
    return out;
}

} // namespace quenyx::platform
