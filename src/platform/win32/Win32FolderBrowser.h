#pragma once

#include "platform/FolderBrowser.h"

namespace quenyx::platform::win32 {

// The shell's folder browser: no owner window, no title, the desktop as root, no options.
class Win32FolderBrowser final : public FolderBrowser
{
public:
    std::string BrowseForFolder() override;
};

} // namespace quenyx::platform::win32
