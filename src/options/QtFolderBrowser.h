#pragma once

#include "platform/FolderBrowser.h"

namespace quenyx::options {

// The folder chooser where the shell's browser does not exist: Qt's folder dialog, confined to the machine's
// drives and opened on drive C:, answering with the machine's path of the chosen folder. Tests reach the dialog
// through ModalHook<QFileDialog>.
class QtFolderBrowser final : public platform::FolderBrowser
{
public:
    std::string BrowseForFolder() override;
};

} // namespace quenyx::options
