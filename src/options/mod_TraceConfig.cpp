#include "options/mod_TraceConfig.h"

#include "platform/Platform.h"
#include "platform/Text.h"

#include <algorithm>
#include <optional>
#include <system_error>
#include <tuple>

namespace quenyx::mod_Trace {

namespace {

constexpr std::array<std::string_view, 6> kLevelNames{"off", "critical", "err", "warn", "info", "debug"};

// What follows the search text's quote, up to but not including the line's last character (the closing quote
// of a well-formed line). Nothing when the quote itself ends the line.
std::optional<std::string_view> ValueAfter(std::string_view line, std::size_t found, std::string_view searched)
{
    const std::size_t start = found + searched.size();
    if (start >= line.size())
        return std::nullopt;
    return line.substr(start, line.size() - 1 - start);
}

void ReadLine(std::string_view line, std::int16_t& level, std::string& baseFile)
{
    if (line.empty())
        return;
    if (const std::size_t at = line.find(kBaseFileText); at != std::string_view::npos) {
        if (const auto value = ValueAfter(line, at, kBaseFileText)) {
            baseFile.assign(*value);
            std::ranges::replace(baseFile, '/', '\\');
        }
    }
    if (const std::size_t at = line.find(kLevelText); at != std::string_view::npos) {
        if (const auto value = ValueAfter(line, at, kLevelText)) {
            const std::string name = platform::AsciiLower(*value);
            const auto known = std::ranges::find(kLevelNames, name);
            if (known != kLevelNames.end())
                level = static_cast<std::int16_t>(known - kLevelNames.begin());
        }
    }
}

std::string RewriteLine(std::string_view line, std::string_view levelName, std::string_view baseFile)
{
    std::string out(line);
    if (!baseFile.empty()) {
        if (const std::size_t at = out.find(kBaseFileText); at != std::string::npos) {
            out.resize(at + kBaseFileText.size());
            out.append(baseFile);
            out.push_back('"');
            std::ranges::replace(out, '\\', '/');
        }
    }
    if (const std::size_t at = out.find(kLevelText); at != std::string::npos) {
        out.resize(at + kLevelText.size());
        out.append(levelName);
        out.push_back('"');
    }
    return out;
}

} // namespace

std::string_view TraceLevelName(int level)
{
    return level >= 1 && level <= 5 ? kLevelNames[static_cast<std::size_t>(level)] : kLevelNames[0];
}

std::vector<std::string_view> SplitTraceLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        const char c = text[at];
        if (c != '\r' && c != '\n') {
            ++at;
            continue;
        }
        lines.push_back(text.substr(start, at - start));
        if (c == '\r' && at + 1 < text.size() && text[at + 1] == '\n')
            ++at;
        start = ++at;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

void ReadTraceConfigText(std::string_view text, std::int16_t& level, std::string& baseFile)
{
    level = 0;
    for (const std::string_view line : SplitTraceLines(text))
        ReadLine(line, level, baseFile);
}

std::string RewriteTraceConfigText(std::string_view text, std::int16_t level, const std::string& baseFile)
{
    // A path holds no line ends; one pasted into the folder box must not split the file's line.
    std::string path = baseFile;
    std::erase_if(path, [](char c) { return c == '\r' || c == '\n'; });
    const std::string_view name = TraceLevelName(level);
    std::string out;
    out.reserve(text.size() + path.size() + 16);
    for (const std::string_view line : SplitTraceLines(text)) {
        out += RewriteLine(line, name, path);
        out += "\r\n";
    }
    return out;
}

TraceFileStatus ReadTraceConfig(const std::string& path, std::int16_t& level, std::string& baseFile)
{
    level = 0;
    const auto files = platform::Current().files;
    if (!files)
        return TraceFileStatus::CannotRead;
    const auto bytes = platform::ReadWholeFile(files->HostPath(path));
    if (!bytes)
        return TraceFileStatus::CannotRead;
    ReadTraceConfigText(files->FromAnsi(*bytes), level, baseFile);
    return TraceFileStatus::Done;
}

namespace {

TraceFileStatus ReadAndRewrite(platform::Files& files, const std::filesystem::path& file, std::int16_t level,
                               const std::string& baseFile, std::string& before, std::string& after)
{
    auto bytes = platform::ReadWholeFile(file);
    if (!bytes)
        return TraceFileStatus::CannotRead;
    before = std::move(*bytes);
    after = files.ToAnsi(RewriteTraceConfigText(files.FromAnsi(before), level, baseFile));
    return TraceFileStatus::Done;
}

} // namespace

TraceFileStatus PreviewTraceConfig(const std::string& path, std::int16_t level, const std::string& baseFile,
                                   std::string& before, std::string& after)
{
    const auto files = platform::Current().files;
    if (!files)
        return TraceFileStatus::CannotRead;
    return ReadAndRewrite(*files, files->HostPath(path), level, baseFile, before, after);
}

TraceFileStatus WriteTraceConfig(const std::string& path, std::int16_t level, const std::string& baseFile)
{
    const auto files = platform::Current().files;
    if (!files)
        return TraceFileStatus::CannotRead;
    const std::filesystem::path file = files->HostPath(path);
    std::string before;
    std::string content;
    if (const TraceFileStatus read = ReadAndRewrite(*files, file, level, baseFile, before, content);
        read != TraceFileStatus::Done)
        return read;
    // The agent's services may open the file at any moment: they find the old content or the new, never none.
    return platform::ReplaceWholeFile(file, content) ? TraceFileStatus::Done : TraceFileStatus::CannotWrite;
}

std::string BrowseForFolder()
{
    const auto browser = platform::Current().folderBrowser;
    return browser ? browser->BrowseForFolder() : std::string();
}

} // namespace quenyx::mod_Trace
