#include "options/QtFolderBrowser.h"

#include "platform/Platform.h"
#include "widgets/ModalHook.h"

#include <QFileDialog>
#include <QUrl>

namespace quenyx::options {

namespace {

QString HostText(const std::filesystem::path& path)
{
    return QString::fromStdU16String(path.u16string());
}

// A folder dialog that stays on the machine's drives: it opens on drive C:, offers the drives alone in its side
// bar, goes back where it was when the user steps out of them, and chooses no folder outside them.
class DrivesFolderDialog final : public QFileDialog
{
public:
    explicit DrivesFolderDialog(platform::Files& files) : files_(files)
    {
        setOption(QFileDialog::DontUseNativeDialog);
        setOption(QFileDialog::ShowDirsOnly);
        setFileMode(QFileDialog::Directory);
        QList<QUrl> drives;
        for (char letter = 'A'; letter <= 'Z'; ++letter) {
            const auto root = files.HostPath(std::string(1, letter) + ":\\");
            std::error_code ec;
            if (std::filesystem::is_directory(root, ec))
                drives << QUrl::fromLocalFile(HostText(root));
        }
        setSidebarUrls(drives);
        last_ = HostText(files.HostPath("C:\\"));
        setDirectory(last_);
        connect(this, &QFileDialog::directoryEntered, this, [this](const QString& folder) {
            if (OnTheDrives(folder))
                last_ = folder;
            else
                setDirectory(last_);
        });
    }

    void accept() override
    {
        const QStringList chosen = selectedFiles();
        if (chosen.isEmpty() || !OnTheDrives(chosen.first())) {
            setDirectory(last_);
            return;
        }
        QFileDialog::accept();
    }

private:
    bool OnTheDrives(const QString& folder) const
    {
        return !platform::MachineFolderPath(files_, std::filesystem::path(folder.toStdU16String())).empty();
    }

    platform::Files& files_;
    QString last_;
};

} // namespace

std::string QtFolderBrowser::BrowseForFolder()
{
    const auto files = platform::Current().files;
    if (!files)
        return {};
    DrivesFolderDialog dialog(*files);
    shell::ModalHook<QFileDialog>::Run(dialog);
    const QStringList chosen = dialog.selectedFiles();
    if (dialog.result() != QDialog::Accepted || chosen.isEmpty())
        return {};
    return platform::MachineFolderPath(*files, std::filesystem::path(chosen.first().toStdU16String()));
}

} // namespace quenyx::options
