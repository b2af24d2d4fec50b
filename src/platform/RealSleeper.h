#pragma once

#include "platform/Services.h"

namespace quenyx::platform {

// Really blocks the calling thread, as kernel32's Sleep does.
class RealSleeper final : public Sleeper
{
public:
    void Sleep(std::uint32_t milliseconds) override;
};

} // namespace quenyx::platform
