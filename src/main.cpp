#include "platform/Platform.h"
#include "shell/GuiUserInterface.h"
#include "shell/Look.h"
#include "shell/SingleInstance.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <QStringList>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(true);
    quenyx::shell::RegisterFontSubstitutes();

    std::string error;
    auto platform = quenyx::platform::MakeHostPlatform(error);
    if (!error.empty())
        std::fprintf(stderr, "quenyxadmin: %s\n", error.c_str());
    platform.ui = std::make_shared<quenyx::shell::GuiUserInterface>();
    quenyx::platform::Install(std::move(platform));

    // Only "-ecoToner" is read from the command line; the machine comes from the environment.
    const QString argumentText = QApplication::arguments().mid(1).join(QLatin1Char(' '));
    quenyx::shell::frmMain window(argumentText, quenyx::shell::SingleInstance::DefaultLockFile());
    if (!window.Load())
        return 0;
    window.show();

    // For screenshots of the console: QUENYX_SCREENSHOT names a PNG to save once the window is up.
    const QString screenshot = qEnvironmentVariable("QUENYX_SCREENSHOT");
    if (!screenshot.isEmpty()) {
        QTimer::singleShot(500, &window, [&window, screenshot] {
            if (!window.grab().save(screenshot))
                std::fprintf(stderr, "quenyxadmin: cannot save %s\n", qPrintable(screenshot));
            window.close();
        });
    }
    return QApplication::exec();
}
