#include "shell/ConsoleProbes.h"

#include "shell/frmMain.h"

#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>

namespace quenyx::shell {

void InstallConsoleProbes(frmMain& window, const QElapsedTimer& sinceStart)
{
    if (!qEnvironmentVariableIsEmpty("QUENYX_STARTUP_TIME")) {
        // A zero timer fires once the events queued by showing the window have been handled.
        QTimer::singleShot(0, &window, [&window, sinceStart] {
            std::printf("startup-ms: %lld\n", static_cast<long long>(sinceStart.elapsed()));
            std::fflush(stdout);
            window.close();
        });
    }

    const QString screenshot = qEnvironmentVariable("QUENYX_SCREENSHOT");
    if (screenshot.isEmpty())
        return;
    const QString view = qEnvironmentVariable("QUENYX_SCREENSHOT_VIEW");
    if (view == QLatin1String("settings"))
        window.SelectConfigsView(true);
    else if (view == QLatin1String("printers"))
        window.SelectPrintersView(true);
    else if (view == QLatin1String("cluster"))
        window.SelectClusterView(true);
    QTimer::singleShot(500, &window, [&window, screenshot] {
        if (!window.grab().save(screenshot))
            std::fprintf(stderr, "quenyxadmin: cannot save %s\n", qPrintable(screenshot));
        window.close();
    });
}

} // namespace quenyx::shell
