#pragma once

#include "platform/Files.h"

#include <filesystem>
#include <string>

namespace quenyx::platform {

// The system's folder chooser: the shell's folder browser on Windows, a folder dialog over the machine's
// drives elsewhere.
class FolderBrowser
{
public:
    virtual ~FolderBrowser() = default;
    // Shows the chooser and waits for the user. The chosen folder as a path of the machine, or the empty text
    // when the user cancels or chooses something that is no folder of the file system (a network neighbourhood).
    virtual std::string BrowseForFolder() = 0;
};

// The machine's path of a folder on the host, through the drives that `files` maps: the host folder of "C:\"
// is "C:\", a folder below it "C:\<names>". Empty when the folder lies on none of the machine's drives.
std::string MachineFolderPath(Files& files, const std::filesystem::path& hostFolder);

} // namespace quenyx::platform
