#include "shell/ConsoleProbes.h"

#include "shell/frmMain.h"
#include "widgets/ListControl.h"
#include "widgets/ToolButton.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSaveFile>
#include <QTableView>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

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

// Calls `then` once, after the first paint of `widget` at which `when` holds.
class AfterFirstPaintWith final : public QObject
{
public:
    AfterFirstPaintWith(QWidget* widget, std::function<bool()> when, std::function<void()> then)
        : QObject(widget), when_(std::move(when)), then_(std::move(then))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && then_ && when_()) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [then = std::move(then_)] { then(); });
            then_ = nullptr;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<bool()> when_;
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

// Says where a person would click to choose VIEW, waits for that click to arrive through the window system,
// and reports the steady clock once the chosen list has painted with its rows.
void ReportViewClick(frmMain& window, const QString& view)
{
    const bool settings = view == QLatin1String("settings");
    const QWidget* entry = window.findChild<QWidget*>(settings ? QStringLiteral("pbConfigs") : QStringLiteral("pbPrinters"));
    ListControl* list = settings ? window.settingsList() : window.printersList();
    if (!entry || !list) {
        std::fprintf(stderr, "quenyxadmin: no %s entry to click\n", qPrintable(view));
        std::_Exit(1);
    }
    const QPoint at = entry->mapToGlobal(entry->rect().center());
    std::printf("ready: %d %d\n", at.x(), at.y());
    std::fflush(stdout);
    auto* painted = new AfterFirstPaintWith(list->view()->viewport(), [list] { return list->Count() > 0; }, [] {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        std::printf("view-painted-ns: %lld\n",
                    static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
        std::fflush(stdout);
        std::_Exit(0);
    });
    Q_UNUSED(painted);
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

QJsonArray Rect(const QRect& rect)
{
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

QJsonObject Item(const QString& name, const char* kind, const QString& text, const QRect& onScreen, bool enabled)
{
    return {{QStringLiteral("name"), name},
            {QStringLiteral("class"), QString::fromLatin1(kind)},
            {QStringLiteral("text"), text},
            {QStringLiteral("rect"), Rect(onScreen)},
            {QStringLiteral("enabled"), enabled}};
}

QRect OnScreen(const QWidget& widget, const QRect& local)
{
    return {widget.mapToGlobal(local.topLeft()), local.size()};
}

// Where a person would find each named control of a shown window, in screen pixels.
QJsonArray WindowItems(const QWidget& window)
{
    QJsonArray items;
    if (const auto* menu = qobject_cast<const QMenu*>(&window)) {
        for (const QAction* action : menu->actions())
            if (action->isVisible() && !action->isSeparator())
                items.append(Item(action->objectName(), "menu-entry", action->text(),
                                  OnScreen(*menu, menu->actionGeometry(const_cast<QAction*>(action))),
                                  action->isEnabled()));
        return items;
    }
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisible() || widget->objectName().isEmpty())
            continue;
        QString text;
        bool enabled = widget->isEnabled();
        if (const auto* label = qobject_cast<const QLabel*>(widget))
            text = label->text();
        else if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
            text = button->text();
        else if (const auto* edit = qobject_cast<const QLineEdit*>(widget))
            text = edit->text();
        if (const auto* tool = qobject_cast<const ToolButton*>(widget))
            enabled = enabled && tool->IsActive();
        QJsonObject item = Item(widget->objectName(), widget->metaObject()->className(), text,
                                OnScreen(*widget, widget->rect()), enabled);
        if (const auto* button = qobject_cast<const QAbstractButton*>(widget); button && button->isCheckable())
            item.insert(QStringLiteral("checked"), button->isChecked());
        items.append(item);

        if (const auto* bar = qobject_cast<const QMenuBar*>(widget)) {
            for (QAction* action : bar->actions())
                if (action->isVisible())
                    items.append(Item(action->objectName(), "menu-title", action->text(),
                                      OnScreen(*bar, bar->actionGeometry(action)), action->isEnabled()));
        } else if (const auto* list = qobject_cast<const ListControl*>(widget)) {
            const QTableView* view = list->view();
            const QRect viewport = view->viewport()->rect();
            for (int row = 0; row < list->Count(); ++row) {
                const QModelIndex index = view->model()->index(row, 0);
                const QRect cell = view->visualRect(index);
                if (!viewport.intersects(cell))
                    continue;
                if (cell.top() > viewport.bottom())
                    break;
                QJsonObject rowItem = Item(QStringLiteral("%1/%2").arg(list->objectName()).arg(row + 1), "row",
                                           index.data().toString(), OnScreen(*view->viewport(), cell), true);
                rowItem.insert(QStringLiteral("selected"), list->SelectedRow() == row + 1);
                items.append(rowItem);
            }
        }
    }
    return items;
}

QByteArray Layout()
{
    QJsonArray windows;
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible())
            continue;
        windows.append(QJsonObject{{QStringLiteral("name"), window->objectName()},
                                   {QStringLiteral("class"), QString::fromLatin1(window->metaObject()->className())},
                                   {QStringLiteral("title"), window->windowTitle()},
                                   {QStringLiteral("active"), window->isActiveWindow()},
                                   {QStringLiteral("rect"), Rect(window->frameGeometry())},
                                   {QStringLiteral("items"), WindowItems(*window)}});
    }
    // By the nearest name: a list's focus is on its unnamed table view.
    const QWidget* focus = QApplication::focusWidget();
    while (focus && focus->objectName().isEmpty())
        focus = focus->parentWidget();
    return QJsonDocument(QJsonObject{{QStringLiteral("windows"), windows},
                                     {QStringLiteral("focus"), focus ? focus->objectName() : QString()}})
        .toJson(QJsonDocument::Compact);
}

// Keeps FILE holding the layout of every shown window, replaced whole whenever it changes (modal dialogs
// included: their loops run the timer too).
void WatchLayout(QObject* owner, const QString& file)
{
    auto* timer = new QTimer(owner);
    auto last = std::make_shared<QByteArray>();
    QObject::connect(timer, &QTimer::timeout, owner, [file, last] {
        QByteArray now = Layout();
        if (now == *last)
            return;
        QSaveFile out(file);
        if (out.open(QIODevice::WriteOnly) && out.write(now + '\n') >= 0 && out.commit())
            *last = std::move(now);
    });
    timer->start(20);
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

    const QString layoutFile = qEnvironmentVariable("QUENYX_LAYOUT");
    if (!layoutFile.isEmpty())
        WatchLayout(&window, layoutFile);

    const QString timedView = qEnvironmentVariable("QUENYX_VIEW_TIME");
    const QString clickedView = qEnvironmentVariable("QUENYX_VIEW_CLICK");
    if (!clickedView.isEmpty()) {
        new AfterFirstPaint(&window, [&window, clickedView] { ReportViewClick(window, clickedView); });
    } else if (!timedView.isEmpty()) {
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
