#include "MachineFolder.h"

#include "platform/RegFile.h"
#include "platform/Text.h"
#include "platform/emulated/EmulatedMachine.h"

#include <fstream>
#include <iterator>
#include <unistd.h>

namespace quenyx::tools {

namespace {

// "/a/b/" and "b/." both name b: its parent and name are what the temporary sibling is made from.
std::filesystem::path Normalised(const std::filesystem::path& folder)
{
    std::error_code ec;
    std::filesystem::path out = std::filesystem::absolute(folder, ec).lexically_normal();
    if (ec)
        out = folder.lexically_normal();
    while (!out.has_filename() && out.has_relative_path())
        out = out.parent_path();
    return out;
}

std::filesystem::path TemporarySibling(const std::filesystem::path& target, std::string_view purpose)
{
    return target.parent_path() /
           ("." + target.filename().string() + "." + std::string(purpose) + "-" + std::to_string(::getpid()));
}

bool StripPrefix(std::string_view& key, std::string_view root)
{
    if (key.size() < root.size() || !platform::EqualsIgnoringCase(key.substr(0, root.size()), root))
        return false;
    if (key.size() == root.size()) {
        key = {};
        return true;
    }
    if (key[root.size()] != '\\')
        return false;
    key.remove_prefix(root.size() + 1);
    return true;
}

} // namespace

std::string RelativeKeyPath(std::string_view key)
{
    if (!StripPrefix(key, "HKEY_LOCAL_MACHINE"))
        StripPrefix(key, "HKLM");
    return std::string(key);
}

std::string Describe(const platform::RegFileError& error)
{
    return (error.line > 0 ? "line " + std::to_string(error.line) + ": " : std::string()) + error.message;
}

bool ReadWholeFile(const std::filesystem::path& file, std::string& bytes, std::string& error)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = "cannot open " + file.string();
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = "cannot read " + file.string();
        return false;
    }
    return true;
}

bool WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes, std::string& error)
{
    const std::filesystem::path target = Normalised(file);
    const std::filesystem::path temporary = TemporarySibling(target, "write");
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            error = "cannot write " + file.string();
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, target, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        error = "cannot write " + file.string() + ": " + ec.message();
        return false;
    }
    return true;
}

bool CreateMachine(const std::filesystem::path& folder, const std::string* regFile, std::string& error)
{
    const std::filesystem::path target = Normalised(folder);
    std::error_code ec;
    if (std::filesystem::exists(target / platform::EmulatedMachine::kRegistryFile, ec)) {
        error = target.string() + " already holds a machine; import into it, or remove the folder first";
        return false;
    }
    if (std::filesystem::exists(target, ec) &&
        (!std::filesystem::is_directory(target, ec) || !std::filesystem::is_empty(target, ec))) {
        error = target.string() + " exists and is not an empty folder";
        return false;
    }
    std::filesystem::create_directories(target.parent_path(), ec);

    const std::filesystem::path temporary = TemporarySibling(target, "init");
    const auto fail = [&](std::string why) {
        std::error_code ignored;
        std::filesystem::remove_all(temporary, ignored);
        error = std::move(why);
        return false;
    };
    std::filesystem::remove_all(temporary, ec);
    {
        auto machine = platform::EmulatedMachine::Open(temporary, true, error);
        if (!machine)
            return fail(error);
        platform::RegFileError importError;
        if (regFile && !platform::ImportRegFile(*regFile, *machine, importError))
            return fail(Describe(importError));
    }
    std::filesystem::rename(temporary, target, ec);
    if (ec)
        return fail("cannot move the new machine into " + target.string() + ": " + ec.message());
    return true;
}

} // namespace quenyx::tools
