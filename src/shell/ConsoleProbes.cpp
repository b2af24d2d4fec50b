#include "shell/ConsoleProbes.h"

#include "shell/frmMain.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QTimer>

#include <cstdio>

namespace quenyx::shell {

namespace {

QStringList ShownTexts(const QWidget& window)
{
    QStringList texts{window.windowTitle()};
    const auto add = [&texts](const QString& text) {
        if (!text.isEmpty())
            texts << text;
    };
    for (const auto* bar : window.findChildren<QMenuBar*>())
        for (const auto* action : bar->actions())
            add(action->text());
    for (const auto* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisible())
            continue;
        if (const auto* label = qobject_cast<const QLabel*>(widget))
            add(label->text());
        else if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
            add(button->text());
        else if (const auto* header = qobject_cast<const QHeaderView*>(widget); header && header->model())
            for (int i = 0; i < header->count(); ++i)
                add(header->model()->headerData(i, header->orientation()).toString());
    }
    return texts;
}

} // namespace

void InstallConsoleProbes(frmMain& window, const QElapsedTimer& sinceStart)
{
    const QString textsFile = qEnvironmentVariable("QUENYX_TEXTS");
    if (!textsFile.isEmpty()) {
        QTimer::singleShot(0, &window, [&window, textsFile] {
            QFile file(textsFile);
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
                file.write(ShownTexts(window).join(QLatin1Char('\n')).toUtf8() + '\n') < 0)
                std::fprintf(stderr, "quenyxadmin: cannot write %s\n", qPrintable(textsFile));
        });
    }

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
