// The folder chooser of an emulated machine: it opens on drive C: and cannot leave the machine's drives.
#include "TestMachine.h"

#include "options/QtFolderBrowser.h"
#include "widgets/ModalHook.h"

#include <QFileDialog>
#include <QTest>
#include <QUrl>

using namespace quenyx;

class FolderChooserTest final : public QObject
{
    Q_OBJECT

private slots:
    void staysOnTheMachinesDrives_data()
    {
        QTest::addColumn<QString>("enter");  // a folder stepped into, relative to drive C: ("" none)
        QTest::addColumn<QString>("choose"); // the folder chosen, relative to drive C:
        QTest::addColumn<QString>("chosen"); // what the chooser answers
        QTest::newRow("a folder of C:") << ""
                                        << "Logs"
                                        << "C:\\Logs";
        QTest::newRow("out and back") << "../.."
                                      << "Logs"
                                      << "C:\\Logs";
        QTest::newRow("outside the machine") << ""
                                             << "../.."
                                             << "";
    }

    void staysOnTheMachinesDrives()
    {
        QFETCH(QString, enter);
        QFETCH(QString, choose);
        QFETCH(QString, chosen);
        const auto machine = test::TestMachine::Create();
        const QString driveC = QString::fromStdString(machine->HostPath("C:\\").string());
        QDir(driveC).mkpath(QStringLiteral("Logs"));
        QString opened, afterEntering;
        QList<QUrl> sidebar;
        shell::ModalHook<QFileDialog>::Set([&](QFileDialog& dialog) {
            opened = dialog.directory().absolutePath();
            sidebar = dialog.sidebarUrls();
            if (!enter.isEmpty()) {
                const QString outside = QDir(driveC).absoluteFilePath(enter);
                dialog.setDirectory(outside);
                emit dialog.directoryEntered(QDir::cleanPath(outside));
            }
            afterEntering = dialog.directory().absolutePath();
            dialog.selectFile(QDir::cleanPath(QDir(driveC).absoluteFilePath(choose)));
            QMetaObject::invokeMethod(&dialog, "accept", Qt::DirectConnection);
        });
        const std::string answer = options::QtFolderBrowser().BrowseForFolder();
        shell::ModalHook<QFileDialog>::Set(nullptr);
        QCOMPARE(opened, QDir(driveC).absolutePath());
        QCOMPARE(sidebar, QList<QUrl>{QUrl::fromLocalFile(driveC)});
        QCOMPARE(afterEntering, QDir(driveC).absolutePath());
        QCOMPARE(QString::fromStdString(answer), chosen);
    }
};

QTEST_MAIN(FolderChooserTest)
#include "FolderChooserTest.moc"
