#include "platform/Files.h"

#include <cstdio>
#include <memory>
#include <tuple>

namespace quenyx::platform {

bool AppendToFile(const std::filesystem::path& file, std::string_view bytes)
{
    struct Closer
    {
        void operator()(std::FILE* f) const { std::ignore = std::fclose(f); }
    };
#ifdef _WIN32
    std::unique_ptr<std::FILE, Closer> f(_wfopen(file.c_str(), L"ab"));
#else
    std::unique_ptr<std::FILE, Closer> f(std::fopen(file.c_str(), "ab"));
#endif
    if (!f)
        return false;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f.get()) != bytes.size())
        return false;
    return std::fflush(f.get()) == 0;
}

} // namespace quenyx::platform
