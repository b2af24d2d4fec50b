// The yardstick for the console's start-up: about the least a Qt program can do to show the same printers.
// A 760x496 frameless window holding a table view, filled by one raw SQLite query that reads the printer
// keys of the spooler from the machine's registry.sqlite3. Like the console under QUENYX_STARTUP_TIME, it
// prints "startup-ms: N" once its window has painted for the first time, and ends there.
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Keys are found by their path folded to capitals, and their subkeys listed in that folded order.
constexpr const char* kPrinters = "SELECT k.name FROM keys k JOIN keys p ON k.parent = p.id "
                                  "WHERE p.path_fold = 'SYSTEM\\CURRENTCONTROLSET\\CONTROL\\PRINT\\PRINTERS' "
                                  "ORDER BY k.fold";

void Fill(QStandardItemModel& model, const std::string& store)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(store.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "anchor: cannot open %s\n", store.c_str());
        std::exit(1);
    }
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, kPrinters, -1, &stmt, nullptr) == SQLITE_OK) {
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
            model.appendRow(new QStandardItem(QString::fromUtf8(text)));
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

    QStandardItemModel model(0, 1);
    Fill(model, std::string(machine) + "/registry.sqlite3");

    QTableView view;
    view.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    view.setModel(&model);
    view.verticalHeader()->hide();
    view.resize(760, 496);
    FirstPaint probe(sinceStart);
    view.installEventFilter(&probe);
    view.viewport()->installEventFilter(&probe);
    view.show();
    return QApplication::exec();
}
