#include "platform/Platform.h"

namespace quenyx::platform {

namespace {

Platform& Installed()
{
    static Platform platform;
    return platform;
}

} // namespace

Platform& Current() { return Installed(); }

void Install(Platform platform) { Installed() = std::move(platform); }

} // namespace quenyx::platform
