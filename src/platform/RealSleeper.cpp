#include "platform/RealSleeper.h"

#include <chrono>
#include <thread>

namespace quenyx::platform {

void RealSleeper::Sleep(std::uint32_t milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace quenyx::platform
