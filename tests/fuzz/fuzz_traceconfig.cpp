// Any bytes into the trace file reader and writer. The input is a level (two bytes, little-endian), a base file path
// up to the first NUL, and the file's text after it (without a NUL, all of it is the text and the path is empty).
// Besides not crashing: the writer keeps the number of lines and ends each with CR LF, writing again changes nothing,
// and the reader finds what was written.
#include "options/mod_TraceConfig.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using namespace quenyx;

[[noreturn]] void Fault(const char* what, std::string_view detail)
{
    std::fprintf(stderr, "fuzz_traceconfig: %s\n%.*s\n", what, static_cast<int>(detail.size()), detail.data());
    std::abort();
}

bool AllLinesEndInCrLf(std::string_view text)
{
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '\n')
            return false;
        if (text[at] == '\r') {
            if (at + 1 >= text.size() || text[at + 1] != '\n')
                return false;
            ++at;
        }
    }
    return text.empty() || text.ends_with("\r\n");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const auto level = static_cast<std::int16_t>(data[0] | (data[1] << 8));
    std::string_view rest(reinterpret_cast<const char*>(data) + 2, size - 2);
    std::string baseFile;
    if (const std::size_t nul = rest.find('\0'); nul != std::string_view::npos) {
        baseFile = std::string(rest.substr(0, nul));
        rest.remove_prefix(nul + 1);
    }
    const std::string_view text = rest;

    std::int16_t readLevel = -1;
    std::string readBase = "unchanged";
    mod_Trace::ReadTraceConfigText(text, readLevel, readBase);
    if (readLevel < 0 || readLevel > 5)
        Fault("a level outside 0 to 5 was read", text);

    const std::string written = mod_Trace::RewriteTraceConfigText(text, level, baseFile);
    if (!AllLinesEndInCrLf(written))
        Fault("a written line does not end in CR LF", written);
    const auto lines = mod_Trace::SplitTraceLines(text);
    if (mod_Trace::SplitTraceLines(written).size() != lines.size())
        Fault("writing changed the number of lines", written);
    if (mod_Trace::RewriteTraceConfigText(written, level, baseFile) != written)
        Fault("writing a written file again changed it", written);

    // Every level line left (a rewritten base file line may have dropped one) names the level written, so the
    // reader finds that level whenever there is one.
    bool hasLevelLine = false;
    for (const std::string_view line : mod_Trace::SplitTraceLines(written))
        hasLevelLine = hasLevelLine || line.find(mod_Trace::kLevelText) != std::string_view::npos;
    std::int16_t levelAfter = -1;
    std::string baseAfter;
    mod_Trace::ReadTraceConfigText(written, levelAfter, baseAfter);
    const std::string_view name = mod_Trace::TraceLevelName(level);
    const std::int16_t expected = hasLevelLine ? (name == "off" ? 0 : static_cast<std::int16_t>(level)) : 0;
    if (levelAfter != expected)
        Fault("the level written is not the level read", written);
    return 0;
}
