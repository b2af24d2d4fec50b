#include "platform/FolderBrowser.h"

#include <system_error>

namespace quenyx::platform {

namespace {

std::string Utf8(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// Links and "..", as far as they exist, so that a folder reached through a link still lies on its drive.
std::filesystem::path Resolved(const std::filesystem::path& path)
{
    std::error_code ec;
    std::filesystem::path resolved = std::filesystem::weakly_canonical(path, ec);
    if (ec)
        resolved = std::filesystem::absolute(path, ec).lexically_normal();
    return resolved;
}

} // namespace

std::string MachineFolderPath(Files& files, const std::filesystem::path& hostFolder)
{
    const std::filesystem::path folder = Resolved(hostFolder);
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const std::string drive = std::string(1, letter) + ":\\";
        std::error_code ec;
        const std::filesystem::path root = files.HostPath(drive);
        if (!std::filesystem::is_directory(root, ec))
            continue;
        const std::filesystem::path relative = folder.lexically_relative(Resolved(root));
        if (relative.empty() || *relative.begin() == "..")
            continue;
        std::string path = drive;
        for (const auto& part : relative) {
            if (part.empty() || part == ".")
                continue;
            if (path.back() != '\\')
                path += '\\';
            path += Utf8(part);
        }
        return path;
    }
    return {};
}

} // namespace quenyx::platform
