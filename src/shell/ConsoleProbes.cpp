#include "shell/ConsoleProbes.h"

#include "shell/frmMain.h"
#include "widgets/ListControl.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QTableView>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <functional>

namespace quenyx::shell {

namespace {

// Calls `then` once, after the first paint of `widget` has been handled (a zero timer fires once the
// paint and the events queued with it are done).
class AfterFirstPaint final : public QObject
{
public:
    AfterFirstPaint(QWidget* widget, std::function<void()> then) : QObject(widget), then_(std::move(then))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && then_) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [then = std::move(then_)] { then(); });
            then_ = nullptr;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> then_;
};

// The process's peak resident memory in KiB where the system tells it (Linux), else -1.
long long PeakKib()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    return -1;
}

// A probe's figure ends the run at once: what comes after (tearing the window down) is nobody's wait.
[[noreturn]] void Report(const char* what, qint64 ms)
{
    std::printf("%s: %lld peak-kib: %lld\n", what, static_cast<long long>(ms), PeakKib());
    std::fflush(stdout);
    std::_Exit(0);
}

// Chooses the view as its entry's click does and reports when its list has painted.
void TimeView(frmMain& window, const QString& view)
{
    ListControl* list = view == QLatin1String("settings") ? window.settingsList() : window.printersList();
    QElapsedTimer sinceClick;
    sinceClick.start();
    new AfterFirstPaint(list->view()->viewport(), [sinceClick] { Report("view-ms", sinceClick.elapsed()); });
    if (view == QLatin1String("settings"))
        window.SelectConfigsView(true);
    else
        window.SelectPrintersView(true);
}

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
        new AfterFirstPaint(&window, [&window, textsFile] {
            QFile file(textsFile);
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
                file.write(ShownTexts(window).join(QLatin1Char('\n')).toUtf8() + '\n') < 0)
                std::fprintf(stderr, "quenyxadmin: cannot write %s\n", qPrintable(textsFile));
        });
    }

    const QString timedView = qEnvironmentVariable("QUENYX_VIEW_TIME");
    if (!timedView.isEmpty()) {
        new AfterFirstPaint(&window, [&window, timedView] { TimeView(window, timedView); });
    } else if (!qEnvironmentVariableIsEmpty("QUENYX_STARTUP_TIME")) {
        new AfterFirstPaint(&window, [sinceStart] { Report("startup-ms", sinceStart.elapsed()); });
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
