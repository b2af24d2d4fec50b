// The yardstick for the console: about the least a Qt program can do to show the same lists. A 760x496
// frameless window holding a table view, filled by one raw SQLite query of the machine's registry.sqlite3.
//   QUENYX_STARTUP_TIME=1   the view is filled with the spooler's printers before the window shows; prints
//                           "startup-ms: N peak-kib: K" once it has painted for the first time, and ends there.
//   QUENYX_VIEW_CLICK=VIEW  the window shows empty and prints "ready: X Y" (a point of the view on screen);
//                           a click there fills it with VIEW (printers, or settings: the agent key's values)
//                           and, once the filled list has painted, prints "view-painted-ns: T" (the steady
//                           clock) and ends: the same protocol as the console's.
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>

#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Keys are found by their path folded to capitals, and their subkeys listed in that folded order.
constexpr const char* kPrinters = "SELECT k.name FROM keys k JOIN keys p ON k.parent = p.id "
                                  "WHERE p.path_fold = 'SYSTEM\\CURRENTCONTROLSET\\CONTROL\\PRINT\\PRINTERS' "
                                  "ORDER BY k.fold";

constexpr const char* kSettings = "SELECT v.name, v.data FROM keys k JOIN vals v ON v.key = k.id "
                                  "WHERE k.path_fold = 'SOFTWARE\\TESSALINE\\QUENYX\\AGENT' ORDER BY v.seq";

void Fill(QStandardItemModel& model, const std::string& store, const char* query = kPrinters)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(store.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "anchor: cannot open %s\n", store.c_str());
        std::exit(1);
    }
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, query, -1, &stmt, nullptr) == SQLITE_OK) {
        const int columns = sqlite3_column_count(stmt);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            QList<QStandardItem*> row;
            for (int c = 0; c < columns; ++c) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
                row.append(new QStandardItem(QString::fromUtf8(text ? text : "")));
            }
            model.appendRow(row);
        }
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
}

// The process's peak resident memory in KiB, as the kernel counts it for this program alone (a parent's
// figure for its child would also count what the child was before it became this program).
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

// Reports once the window's first paint has been handled, and ends the program there.
class FirstPaint final : public QObject
{
public:
    explicit FirstPaint(const QElapsedTimer& sinceStart) : sinceStart_(sinceStart) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            QTimer::singleShot(0, this, [this] {
                std::printf("startup-ms: %lld peak-kib: %lld\n", static_cast<long long>(sinceStart_.elapsed()),
                            PeakKib());
                std::fflush(stdout);
                std::_Exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QElapsedTimer sinceStart_;
    bool seen_ = false;
};

// Fills the view on the first click of its viewport, and reports the paint that shows the rows.
class ClickToFill final : public QObject
{
public:
    ClickToFill(QTableView& view, QStandardItemModel& model, std::string store, const char* query)
        : view_(view), model_(model), store_(std::move(store)), query_(query)
    {
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !ready_) {
            ready_ = true;
            QTimer::singleShot(0, this, [this] {
                const QPoint at = view_.viewport()->mapToGlobal(view_.viewport()->rect().center());
                std::printf("ready: %d %d\n", at.x(), at.y());
                std::fflush(stdout);
            });
        } else if (event->type() == QEvent::MouseButtonRelease && ready_ && !filled_) {
            filled_ = true;
            Fill(model_, store_, query_);
        } else if (event->type() == QEvent::Paint && filled_ && !reported_ && model_.rowCount() > 0) {
            reported_ = true;
            QTimer::singleShot(0, this, [] {
                const auto now = std::chrono::steady_clock::now().time_since_epoch();
                std::printf("view-painted-ns: %lld\n",
                            static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
                std::fflush(stdout);
                std::_Exit(0);
            });
        }
        return false;
    }

private:
    QTableView& view_;
    QStandardItemModel& model_;
    std::string store_;
    const char* query_;
    bool ready_ = false;
    bool filled_ = false;
    bool reported_ = false;
};

} // namespace

int main(int argc, char* argv[])
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication app(argc, argv);
    const char* machine = std::getenv("QUENYX_MACHINE");
    if (!machine || !*machine) {
        std::fprintf(stderr, "anchor: QUENYX_MACHINE names no machine\n");
        return 1;
    }

    const std::string store = std::string(machine) + "/registry.sqlite3";
    const QByteArray clickView = qgetenv("QUENYX_VIEW_CLICK");
    QStandardItemModel model(0, clickView == "settings" ? 2 : 1);
    if (clickView.isEmpty())
        Fill(model, store);

    QTableView view;
    view.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    view.setModel(&model);
    view.verticalHeader()->hide();
    view.resize(760, 496);
    FirstPaint probe(sinceStart);
    ClickToFill click(view, model, store, clickView == "settings" ? kSettings : kPrinters);
    QObject* watcher = clickView.isEmpty() ? static_cast<QObject*>(&probe) : &click;
    if (clickView.isEmpty())
        view.installEventFilter(watcher);
    view.viewport()->installEventFilter(watcher);
    view.show();
    return QApplication::exec();
}
