#pragma once

#include "platform/Clock.h"

namespace quenyx::platform {

// The host's local time, written with day/month/year and 24-hour time with seconds.
class HostClock final : public Clock
{
public:
    LocalTime Now() override;
    std::string ShortDate(const LocalTime& t) override { return FormatPicture(kDefaultShortDatePicture, t); }
    std::string TimeOfDay(const LocalTime& t) override { return FormatPicture(kDefaultTimePicture, t); }
};

} // namespace quenyx::platform
