#include "options/QtFolderBrowser.h"
#include "platform/Platform.h"
#include "shell/ConsoleProbes.h"
#include "shell/GuiUserInterface.h"
#include "widgets/Look.h"
#include "shell/SingleInstance.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStringList>

#include <cstdio>

int main(int argc, char* argv[])
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication app(argc, argv);
    quenyx::shell::RegisterFontSubstitutes();

    std::string error;
    auto platform = quenyx::platform::MakeHostPlatform(error);
    if (!error.empty())
        std::fprintf(stderr, "quenyxadmin: %s\n", error.c_str());
    platform.ui = std::make_shared<quenyx::shell::GuiUserInterface>();
    if (!platform.folderBrowser)
        platform.folderBrowser = std::make_shared<quenyx::options::QtFolderBrowser>();
    quenyx::platform::Install(std::move(platform));

    // Only "-ecoToner" is read from the command line; the machine comes from the environment.
    const QString argumentText = QApplication::arguments().mid(1).join(QLatin1Char(' '));
    quenyx::shell::frmMain window(argumentText, quenyx::shell::SingleInstance::DefaultLockFile());
    if (!window.Load())
        return 0;
    window.show();
    quenyx::shell::InstallConsoleProbes(window, sinceStart);
    return QApplication::exec();
}
