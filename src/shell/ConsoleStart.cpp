#include "shell/ConsoleStart.h"

#include "options/QtFolderBrowser.h"
#include "platform/Platform.h"
#include "shell/GuiUserInterface.h"
#include "widgets/MessageBox.h"

#include <QApplication>

#include <cstdio>
#include <tuple>

namespace quenyx::shell {

void StopLookingForPlugins()
{
    std::ignore = QApplication::style();
    QCoreApplication::setLibraryPaths({});
}

bool InstallHostPlatform()
{
    std::string error;
    auto platform = platform::MakeHostPlatform(error);
    platform.ui = std::make_shared<GuiUserInterface>();
    if (!platform.folderBrowser)
        platform.folderBrowser = std::make_shared<options::QtFolderBrowser>();
    if (!error.empty()) {
        std::fprintf(stderr, "quenyxadmin: %s\n", error.c_str());
        ShowMessage(QStringLiteral("The console cannot start: %1.").arg(QString::fromStdString(error)));
        return false;
    }
    platform::Install(std::move(platform));
    return true;
}

} // namespace quenyx::shell
