#include <cstdint>

#ifdef _WIN32
#define BROKEN_EXPORT __declspec(dllexport) __stdcall
#else
#define BROKEN_EXPORT __attribute__((visibility("default")))
#endif

extern "C" std::int32_t BROKEN_EXPORT LoadResources(const char16_t*)
{
    return -1;
}
