#include "options/QtFolderBrowser.h"

#include "platform/Platform.h"

#include <QFileDialog>

namespace quenyx::options {

std::string QtFolderBrowser::BrowseForFolder()
{
    const auto files = platform::Current().files;
    if (!files)
        return {};
    const QString start = QString::fromStdU16String(files->HostPath("C:\\").u16string());
    const QString chosen = QFileDialog::getExistingDirectory(nullptr, QString(), start);
    if (chosen.isEmpty())
        return {};
    return platform::MachineFolderPath(*files, std::filesystem::path(chosen.toStdU16String()));
}

} // namespace quenyx::options
