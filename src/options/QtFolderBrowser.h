#pragma once

#include "platform/FolderBrowser.h"

namespace quenyx::options {

// The folder chooser where the shell's browser does not exist: Qt's folder dialog, opened on the machine's
// drive C:, answering with the machine's path of the chosen folder.
class QtFolderBrowser final : public platform::FolderBrowser
{
public:
    std::string BrowseForFolder() override;
};

} // namespace quenyx::options
