#pragma once

#include <filesystem>
#include <optional>
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

// The whole file's bytes; nothing when it cannot be opened or read (missing, a folder, no rights).
std::optional<std::string> ReadWholeFile(const std::filesystem::path& file);

// Creates the file, or empties an existing one, and writes the bytes. One open, write and close; false when any
// fails.
bool WriteWholeFile(const std::filesystem::path& file, std::string_view bytes);

// Renames `from` to `to`, replacing `to` in one step: whoever opens `to` meanwhile finds the old file or the new
// one, never none. False when it failed (`to` is read-only, held open, ...); `to` is then as it was.
bool RenameReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

// Replaces the file's content in one step: the bytes go to "<file>.tmp", which is then renamed over the file, so
// whoever opens it meanwhile finds the old content or the new, never none. False when it failed (the file is
// read-only, held open, ...): the file is then as it was and no .tmp is left behind.
bool ReplaceWholeFile(const std::filesystem::path& file, std::string_view bytes);

// Standard output takes bytes as they are (no CR added before LF on Windows), so a binary file can be written to it.
void UseBinaryStandardOutput();

} // namespace quenyx::platform
