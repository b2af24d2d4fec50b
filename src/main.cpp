#include "shell/ConsoleProbes.h"
#include "shell/ConsoleStart.h"
#include "shell/SingleInstance.h"
#include "shell/frmMain.h"
#include "widgets/Look.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStringList>

int main(int argc, char* argv[])
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication app(argc, argv);
    quenyx::shell::RegisterFontSubstitutes();
    quenyx::shell::StopLookingForPlugins();

    if (!quenyx::shell::InstallHostPlatform())
        return 1;

    // Only "-ecoToner" is read from the command line; the machine comes from the environment.
    const QString argumentText = QApplication::arguments().mid(1).join(QLatin1Char(' '));
    quenyx::shell::frmMain window(argumentText, quenyx::shell::SingleInstance::DefaultLockFile());
    if (!window.Load())
        return window.exitStatus();
    window.show();
    quenyx::shell::InstallConsoleProbes(window, sinceStart);
    return QApplication::exec();
}
