#include "platform/Files.h"

#include <cstdio>
#include <memory>
#include <tuple>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace quenyx::platform {

namespace {

struct Closer
{
    void operator()(std::FILE* f) const { std::ignore = std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, Closer>;

// Paths are wide on Windows, so that a name outside the ANSI code page still opens.
File Open(const std::filesystem::path& file, bool write, bool append)
{
#ifdef _WIN32
    return File(_wfopen(file.c_str(), append ? L"ab" : write ? L"wb" : L"rb"));
#else
    return File(std::fopen(file.c_str(), append ? "ab" : write ? "wb" : "rb"));
#endif
}

// Closes explicitly: a write the system only fails at close (a full disk) must count as failed.
bool WriteAndClose(File f, std::string_view bytes)
{
    if (!f)
        return false;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f.get()) != bytes.size())
        return false;
    if (std::fflush(f.get()) != 0)
        return false;
    return std::fclose(f.release()) == 0;
}

} // namespace

bool AppendToFile(const std::filesystem::path& file, std::string_view bytes)
{
    return WriteAndClose(Open(file, true, true), bytes);
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& file)
{
    const File f = Open(file, false, false);
    if (!f)
        return std::nullopt;
    std::string bytes;
    char buffer[16384];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, f.get())) > 0)
        bytes.append(buffer, got);
    // A folder opens on some systems and only fails to read.
    if (std::ferror(f.get()))
        return std::nullopt;
    return bytes;
}

bool WriteWholeFile(const std::filesystem::path& file, std::string_view bytes)
{
    return WriteAndClose(Open(file, true, false), bytes);
}

bool RenameReplacing(const std::filesystem::path& from, const std::filesystem::path& to)
{
#ifdef _WIN32
    // The C runtime's rename refuses an existing target; MoveFileEx replaces it in one step on the same volume.
    // Windows' MoveFileEx will not replace a read-only file; Wine's does, so the rule is kept here as well.
    const DWORD attributes = GetFileAttributesW(to.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
    // A file without its owner's write permission stands for one with Windows' read-only attribute, which
    // MoveFileEx will not replace whoever asks; rename(2) would, for root or with a writable folder.
    std::error_code ec;
    const auto target = std::filesystem::status(to, ec);
    if (!ec && std::filesystem::exists(target) &&
        (target.permissions() & std::filesystem::perms::owner_write) == std::filesystem::perms::none)
        return false;
    std::filesystem::rename(from, to, ec);
    return !ec;
#endif
}

void UseBinaryStandardOutput()
{
#ifdef _WIN32
    std::fflush(stdout);
    std::ignore = _setmode(_fileno(stdout), _O_BINARY);
#endif
}

bool ReplaceWholeFile(const std::filesystem::path& file, std::string_view bytes)
{
    std::filesystem::path temporary = file;
    temporary += ".tmp";
    if (WriteWholeFile(temporary, bytes) && RenameReplacing(temporary, file))
        return true;
    std::error_code ec;
    if (std::filesystem::is_regular_file(temporary, ec))
        std::ignore = std::filesystem::remove(temporary, ec);
    return false;
}

} // namespace quenyx::platform
