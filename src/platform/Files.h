#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quenyx::platform {

// Where a Windows path of the machine lives on the host, and the machine's ANSI code page.
class Files
{
public:
    virtual ~Files() = default;
    virtual std::filesystem::path HostPath(std::string_view windowsPath) = 0;
    // Program text (UTF-8) to the machine's ANSI code page and back.
    virtual std::string ToAnsi(std::string_view text) = 0;
    virtual std::string FromAnsi(std::string_view bytes) = 0;
};

// Appends bytes to a file, creating it when missing. One open, write and close; false when any fails.
bool AppendToFile(const std::filesystem::path& file, std::string_view bytes);

} // namespace quenyx::platform
