// The console started on a machine it cannot use: one message naming the folder and what is wrong, a
// non-zero status, and nothing written.
#include "shell/ConsoleStart.h"
#include "platform/Platform.h"
#include "platform/emulated/EmulatedMachine.h"
#include "shell/frmMain.h"
#include "widgets/MessageBox.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

using namespace quenyx;
namespace fs = std::filesystem;

namespace {

QStringList Listing(const fs::path& folder)
{
    QStringList files;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(folder, ec); it != fs::recursive_directory_iterator(); ++it)
        files << QString::fromStdString(it->path().string() + " " +
                                        (it->is_regular_file() ? std::to_string(it->file_size()) : "folder"));
    return files;
}

} // namespace

class ConsoleStartTest final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QStringList shown_;

    fs::path MakeMachine(const char* name)
    {
        const fs::path folder = fs::path(dir_.path().toStdString()) / name;
        std::string error;
        [&] { QVERIFY2(platform::EmulatedMachine::Open(folder, true, error), error.c_str()); }();
        return folder;
    }

private slots:
    void init()
    {
        shown_.clear();
        shell::SetMessageHandlerForTests([this](const QString& text) { shown_ << text; });
    }
    void cleanupTestCase()
    {
        std::error_code ec;
        fs::permissions(fs::path(dir_.path().toStdString()) / "read-only", fs::perms::owner_all, fs::perm_options::add,
                        ec);
    }
    void cleanup()
    {
        shell::SetMessageHandlerForTests(nullptr);
        qunsetenv("QUENYX_MACHINE");
    }

    void aMachineThatCannotBeUsedIsNamed_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("why");
        const QString root = dir_.path();
        QTest::newRow("missing") << root + "/missing"
                                 << "does not exist";
        fs::resize_file(MakeMachine("empty") / "registry.sqlite3", 0);
        QTest::newRow("empty store") << root + "/empty"
                                     << "is empty (0 bytes)";
        const fs::path readOnly = MakeMachine("read-only");
        fs::permissions(readOnly, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
        QTest::newRow("read-only") << root + "/read-only"
                                   << "is read-only";
    }

    void aMachineThatCannotBeUsedIsNamed()
    {
        QFETCH(QString, folder);
        QFETCH(QString, why);
        qputenv("QUENYX_MACHINE", folder.toLocal8Bit());
        const QStringList before = Listing(dir_.path().toStdString());
        QVERIFY(!shell::InstallHostPlatform());
        QCOMPARE(shown_.size(), 1);
        QVERIFY2(shown_[0].contains(folder) && shown_[0].contains(why), qPrintable(shown_[0]));
        QCOMPARE(Listing(dir_.path().toStdString()), before);
        QVERIFY(!platform::Current().registry);
    }

    // Not another console: the user is told which lock file, and the program fails.
    void aLockThatCannotBeMadeIsReported()
    {
        const QString lock = QDir(dir_.path()).filePath(QStringLiteral("no-such-folder/QuenyxAdmin.lock"));
        shell::frmMain window(QString(), lock);
        QVERIFY(!window.Load());
        QCOMPARE(window.exitStatus(), 1);
        QCOMPARE(shown_.size(), 1);
        QVERIFY2(shown_[0].contains(QDir::toNativeSeparators(lock)), qPrintable(shown_[0]));
    }
};

QTEST_MAIN(ConsoleStartTest)
#include "ConsoleStartTest.moc"
