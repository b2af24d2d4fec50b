#pragma once

#include <string>
#include <string_view>

namespace quenyx::platform {

struct LocalTime
{
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The current local time and the user's short-date and time-of-day texts.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual LocalTime Now() = 0;
    virtual std::string ShortDate(const LocalTime& t) = 0;
    virtual std::string TimeOfDay(const LocalTime& t) = 0;
};

// Formats with a Windows date/time picture: d dd M MM yy yyyy, h hh H HH m mm s ss, tt; text in single
// quotes is literal. Used where the machine has no user locale of its own.
std::string FormatPicture(std::string_view picture, const LocalTime& t);

// Away from Windows the user's formats are day/month/year and 24-hour time with seconds.
inline constexpr std::string_view kDefaultShortDatePicture = "dd/MM/yyyy";
inline constexpr std::string_view kDefaultTimePicture = "HH:mm:ss";

} // namespace quenyx::platform
