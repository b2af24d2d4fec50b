#include "FakeDevices.h"
#include "FakeFolderBrowser.h"
#include "TestMachine.h"

#include "options/frmOptions.h"
#include "options/mod_TraceConfig.h"
#include "platform/mod_RegWin.h"
#include "platform/mod_Trace.h"
#include "shell/MessageBox.h"
#include "shell/mod_Main.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <fstream>
#include <sstream>

using namespace quenyx;
using mod_Trace::kTraceComponents;
using options::frmOptions;

namespace {

template <typename T = QWidget> T* Child(QObject& parent, const QString& name)
{
    auto* child = parent.findChild<T*>(name);
    if (!child)
        qFatal("no control %s", qPrintable(name));
    return child;
}

std::string Contents(const std::filesystem::path& file)
{
    std::stringstream text;
    text << std::ifstream(file, std::ios::binary).rdbuf();
    return text.str();
}

QString AgentValue(const char* name)
{
    return QString::fromStdString(mod_RegWin::GetSettingString(mod_RegWin::HKLM, mod_Trace::AgentKey, name, "-"));
}

// Each trace file as OK rewrites it, with the agent's SecurePrintEnabled and configsAltered at that moment.
class RecordingFiles final : public platform::Files
{
public:
    RecordingFiles(std::shared_ptr<platform::Files> inner, QStringList& events)
        : inner_(std::move(inner)), events_(events)
    {
    }
    std::filesystem::path HostPath(std::string_view path) override
    {
        if (path.ends_with(".toml"))
            events_ << QString::fromStdString(std::string(path.substr(path.rfind('\\') + 1))) + " " +
                           AgentValue("SecurePrintEnabled") + (mod_Main::configsAltered() ? " altered" : "");
        return inner_->HostPath(path);
    }
    std::string ToAnsi(std::string_view text) override { return inner_->ToAnsi(text); }
    std::string FromAnsi(std::string_view bytes) override { return inner_->FromAnsi(bytes); }

private:
    std::shared_ptr<platform::Files> inner_;
    QStringList& events_;
};

} // namespace

class OptionsDialogTest final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestMachine> machine_;
    std::shared_ptr<test::FakeFolderBrowser> browser_;
    QStringList messages_;

    std::string TracePath(std::size_t component) const
    {
        return machine_->Folder() + "\\Agent\\" + std::string(kTraceComponents[component].configFile);
    }
    std::filesystem::path HostFile(std::size_t component) const { return machine_->HostPath(TracePath(component)); }
    static std::string LevelOf(std::size_t component)
    {
        return std::string(mod_Trace::TraceLevelName(static_cast<int>(component % 6)));
    }
    static std::string TraceFile(std::size_t component, const std::string& folder, const char* end)
    {
        const auto& each = kTraceComponents[component];
        return "# " + std::string(each.name) + end + "base_filename = \"" + folder + std::string(each.logFile) + "\"" +
               end + "level = \"" + LevelOf(component) + "\"" + end;
    }

    void Set(const char* name, const QString& text)
    {
        QCOMPARE(mod_RegWin::SaveSettingString(mod_RegWin::HKLM, mod_Trace::AgentKey, name, text.toStdString()), 0);
    }

    // The agent installed with its trace files in LF lines, the levels "off", "critical", ... in turn, and secure
    // printing off with the choice on.
    void InstallAgent(const QString& installType)
    {
        QCOMPARE(machine_->Admin().CreateKey(mod_Trace::AgentKey), 0);
        if (installType != QLatin1String("-"))
            Set("InstallType", installType);
        Set("PathInstall", QString::fromStdString(machine_->Folder() + "\\Agent"));
        Set("SecurePrintChoiceEnabled", "1");
        Set("ReleaserServer", "releaser01");
        std::filesystem::create_directories(HostFile(0).parent_path());
        for (std::size_t component = 0; component < kTraceComponents.size(); ++component)
            std::ofstream(HostFile(component), std::ios::binary) << TraceFile(component, "C:/Logs/", "\n");
    }

    // Opens the dialog on `tab` and hands it, loaded and shown, to `use`.
    static bool Open(int tab, const std::function<void(frmOptions&)>& use)
    {
        bool used = false;
        frmOptions::SetShowHandlerForTests([&](frmOptions& dialog) { used = true, use(dialog); });
        frmOptions dialog;
        dialog.selectedTab = static_cast<std::int16_t>(tab);
        dialog.ShowModal();
        return used;
    }

private slots:
    void init()
    {
        machine_ = test::TestMachine::Create();
        auto catalog = std::make_shared<test::FakeTextCatalog>();
        catalog->texts = {{u"TracePathRequired", u"Sem pasta"},
                          {u"ReleaserAddressRequired", u"Sem endereço"},
                          {u"TraceFileNotWritten", u"Não gravados:"}};
        platform::Current().textCatalog = catalog;
        browser_ = std::make_shared<test::FakeFolderBrowser>();
        platform::Current().folderBrowser = browser_;
        messages_.clear();
        shell::SetMessageHandlerForTests([this](const QString& text) { messages_ << text; });
        mod_Main::setConfigsAltered(false);
    }

    void cleanup()
    {
        frmOptions::SetShowHandlerForTests(nullptr);
        shell::SetMessageHandlerForTests(nullptr);
        mod_Trace::ResetTraceSettings();
        mod_Main::setConfigsAltered(false);
        machine_.reset();
    }

    void installationTypeDecidesTheHeadersAndTheWatcherRow_data()
    {
        QTest::addColumn<QString>("installType");
        QTest::addColumn<bool>("securePrintHeader");
        QTest::addColumn<bool>("watcherRow");
        QTest::newRow("1") << "1" << true << true;
        QTest::newRow("2") << "2" << false << false;
        QTest::newRow("5") << "5" << false << true;
        QTest::newRow("missing reads as 1") << "-" << true << true;
        QTest::newRow("not a number") << "full" << false << false;
    }

    void installationTypeDecidesTheHeadersAndTheWatcherRow()
    {
        QFETCH(QString, installType);
        QFETCH(bool, securePrintHeader);
        QFETCH(bool, watcherRow);
        InstallAgent(installType);
        QVERIFY(Open(2, [&](frmOptions& dialog) {
            QCOMPARE(Child(dialog, "pbPrintSecure")->isVisible(), securePrintHeader);
            QCOMPARE(Child(dialog, "lblPrintSecure")->isVisible(), securePrintHeader);
            QCOMPARE(Child(dialog, "pbTrace")->x() == 8, !securePrintHeader); // 120 twips
            QCOMPARE(Child(dialog, "lblWatcherLevel")->isVisible(), watcherRow);
            QCOMPARE(Child(dialog, "cbUIWatcherLevel")->isVisible(), watcherRow);
            QCOMPARE(Child<QComboBox>(dialog, "cbUIWatcherLevel")->currentIndex(), watcherRow ? 5 : 0);
        }));
    }

    void loadReadsEachFile()
    {
        InstallAgent("1");
        std::ofstream(HostFile(0), std::ios::binary) << "base_filename = \"C:/Logs/listener.log\"\r\n";
        std::ofstream(HostFile(2), std::ios::binary) << "level = \"WARN\"\r\n";
        std::filesystem::remove(HostFile(4));
        mod_Trace::SetTraceSettings("1", machine_->Folder());
        QVERIFY(Open(2, [&](frmOptions& dialog) {
            QList<int> rows;
            for (const char* list : {"cbListenerLevel", "cbSenderLevel", "cbGuardianLevel", "cbLiveupdateLevel",
                                     "cbHttpServerLevel", "cbUIWatcherLevel", "cbUICallerLevel"})
                rows << Child<QComboBox>(dialog, list)->currentIndex();
            QCOMPARE(rows, (QList<int>{0, 1, 3, 3, 0, 5, 0}));
            QCOMPARE(Child<QComboBox>(dialog, "cbSenderLevel")->currentText(), QStringLiteral("Fatal"));
            // Only the Listener's own log file name is taken off its path.
            QCOMPARE(Child<QLineEdit>(dialog, "txtTracePath")->text(), QStringLiteral("C:\\Logs\\listener.log"));
            QVERIFY(dialog.settingsChanged);
            QVERIFY(!Child(dialog, "lblWarningWatcher")->isVisible());
        }));
        auto& clock = machine_->clock();
        const std::string log = Contents(machine_->HostPath(mod_Trace::LogFilePath(clock.ShortDate(clock.now))));
        for (const std::string& line :
             {"pathInstall: " + machine_->Folder() + "\\Agent", "listener: " + TracePath(0), "sender: " + TracePath(1)})
            QVERIFY2(log.find("[frmOptions]  - " + line + "\r\n") != std::string::npos, line.c_str());
    }

    void headersShowTheirPages()
    {
        InstallAgent("1");
        QVERIFY(Open(1, [&](frmOptions& dialog) {
            const auto shown = [&](int tab) {
                QCOMPARE(int(dialog.selectedTab), tab);
                QCOMPARE(dialog.frmTab(0)->isVisible(), tab == 1);
                QCOMPARE(dialog.frmTab(1)->isVisible(), tab == 2);
                QCOMPARE(dialog.frmTab(tab - 1)->pos(), QPoint(20, 73)); // 300 and 1100 twips
                const auto colour = [&](const char* header) {
                    return Child(dialog, header)->palette().color(QPalette::Window);
                };
                QCOMPARE(colour(tab == 1 ? "pbPrintSecure" : "pbTrace"), QColor(0xE6, 0xE6, 0xE6));
                QCOMPARE(colour(tab == 1 ? "pbTrace" : "pbPrintSecure"), QColor(0xF0, 0xF0, 0xF0));
            };
            shown(1);
            QTest::mouseClick(Child(dialog, "lblTraceTab"), Qt::LeftButton);
            shown(2);
            QTest::mouseClick(Child(dialog, "pbPrintSecure"), Qt::LeftButton);
            shown(1);
        }));
    }

    void securePrintPanelFollowsItsBox()
    {
        InstallAgent("1");
        Set("SecurePrintEnabled", "2"); // no state of a box: unchecked
        QVERIFY(Open(1, [&](frmOptions& dialog) {
            auto* box = Child<QCheckBox>(dialog, "chkPrintSecureEnable");
            for (const bool checked : {false, true, false}) {
                if (checked != box->isChecked())
                    QTest::mouseClick(box, Qt::LeftButton);
                for (const char* name : {"frmPrintSecureOptions", "lblReleaserAddress", "txtReleaserAddress",
                                         "lblSecurePrintWarning", "chkSecurePrintChoiceEnabled"})
                    QCOMPARE(Child(dialog, name)->isEnabled(), checked);
            }
            QCOMPARE(Child<QLineEdit>(dialog, "txtReleaserAddress")->text(), QStringLiteral("releaser01"));
        }));
    }

    void choosingARowOrAFolder_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("folderChosen");
        QTest::addColumn<bool>("settingsChanged");
        QTest::addColumn<bool>("watcherWarning");
        QTest::newRow("Listener") << "cbListenerLevel"
                                  << "" << true << false;
        QTest::newRow("Sender") << "cbSenderLevel"
                                << "" << true << false;
        QTest::newRow("Watcher") << "cbUIWatcherLevel"
                                 << "" << false << true;
        QTest::newRow("Guardian") << "cbGuardianLevel"
                                  << "" << false << false;
        QTest::newRow("UICaller") << "cbUICallerLevel"
                                  << "" << false << false;
        QTest::newRow("folder") << "btnTracePath"
                                << "D:\\Trace" << true << false;
        QTest::newRow("folder cancelled") << "btnTracePath"
                                          << "" << false << false;
    }

    void choosingARowOrAFolder()
    {
        QFETCH(QString, control);
        QFETCH(QString, folderChosen);
        QFETCH(bool, settingsChanged);
        QFETCH(bool, watcherWarning);
        InstallAgent("1");
        browser_->nextAnswer = folderChosen.toStdString();
        QVERIFY(Open(2, [&](frmOptions& dialog) {
            dialog.settingsChanged = false;
            if (auto* list = qobject_cast<QComboBox*>(Child(dialog, control)))
                QTest::keyClick(list, list->currentIndex() == 0 ? Qt::Key_End : Qt::Key_Home);
            else
                QTest::mouseClick(Child(dialog, control), Qt::LeftButton);
            QCOMPARE(dialog.settingsChanged, settingsChanged);
            QCOMPARE(Child(dialog, "lblWarningWatcher")->isVisible(), watcherWarning);
            QCOMPARE(Child<QLineEdit>(dialog, "txtTracePath")->text(),
                     folderChosen.isEmpty() ? QStringLiteral("C:\\Logs\\") : folderChosen);
        }));
    }

    void okOrCancel_data()
    {
        QTest::addColumn<QString>("installType");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<int>("securePrint"); // -1: as loaded (off, the choice on)
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("agentValues"); // SecurePrintEnabled ReleaserServer SecurePrintChoiceEnabled
        const QString untouched = "- releaser01 1";
        QTest::newRow("1") << "1"
                           << "btnOK"
                           << "D:\\T" << 1 << "releaser02"
                           << ""
                           << "1 releaser02 1";
        QTest::newRow("2") << "2"
                           << "lblOK"
                           << "D:\\T\\" << -1 << ""
                           << ""
                           << "0 releaser01 -";
        QTest::newRow("5") << "5"
                           << "btnOK"
                           << "D:\\T" << -1 << ""
                           << ""
                           << "0 releaser01 -";
        QTest::newRow("no folder") << "1"
                                   << "lblOK"
                                   << "" << 0 << ""
                                   << "Sem pasta" << untouched;
        QTest::newRow("no folder nor address") << "1"
                                               << "lblOK"
                                               << "" << 1 << ""
                                               << "Sem pasta" << untouched;
        QTest::newRow("no address") << "1"
                                    << "btnOK"
                                    << "D:\\T" << 1 << ""
                                    << "Sem endereço" << untouched;
        QTest::newRow("Cancel") << "1"
                                << "lblCancel"
                                << "D:\\T" << 1 << "releaser02"
                                << "" << untouched;
        QTest::newRow("close") << "1"
                               << "btnClose"
                               << "D:\\T" << 1 << "releaser02"
                               << "" << untouched;
    }

    // Nothing is chosen in the lists: the load's own choice of the Listener's row marks the change all the same.
    void okOrCancel()
    {
        QFETCH(QString, installType);
        QFETCH(QString, control);
        QFETCH(QString, folder);
        QFETCH(int, securePrint);
        QFETCH(QString, address);
        QFETCH(QString, message);
        QFETCH(QString, agentValues);
        InstallAgent(installType);
        QStringList written;
        platform::Current().files = std::make_shared<RecordingFiles>(platform::Current().files, written);
        QVERIFY(Open(installType == "1" ? 1 : 2, [&](frmOptions& dialog) {
            written.clear();
            Child<QLineEdit>(dialog, "txtTracePath")->setText(folder);
            if (securePrint >= 0) {
                Child<QCheckBox>(dialog, "chkPrintSecureEnable")->setChecked(securePrint == 1);
                Child<QLineEdit>(dialog, "txtReleaserAddress")->setText(address);
            }
            QTest::mouseClick(Child(dialog, control), Qt::LeftButton);
            QCOMPARE(dialog.isVisible(), !message.isEmpty());
        }));
        QCOMPARE(messages_, message.isEmpty() ? QStringList{} : QStringList{message});

        const bool ok = control.endsWith("OK") && message.isEmpty();
        QStringList expected;
        for (std::size_t component = 0; component < kTraceComponents.size(); ++component) {
            const bool rewritten = ok && (component != 5 || installType != "2");
            if (rewritten)
                expected << QString::fromLatin1(kTraceComponents[component].configFile) + " -";
            QCOMPARE(Contents(HostFile(component)),
                     rewritten ? TraceFile(component, "D:/T/", "\r\n") : TraceFile(component, "C:/Logs/", "\n"));
        }
        QCOMPARE(written, expected);
        QCOMPARE(AgentValue("SecurePrintEnabled") + " " + AgentValue("ReleaserServer") + " " +
                     AgentValue("SecurePrintChoiceEnabled"),
                 agentValues);
        QCOMPARE(mod_Main::configsAltered(), ok);
    }

    void aTraceFileThatCouldNotBeReadIsNamedAndLeftAlone()
    {
        InstallAgent("2");
        std::filesystem::remove(HostFile(2));
        std::filesystem::remove(HostFile(4));
        std::filesystem::create_directories(HostFile(4));
        QVERIFY(Open(2, [&](frmOptions& dialog) { QTest::mouseClick(Child(dialog, "lblOK"), Qt::LeftButton); }));
        QCOMPARE(messages_,
                 QStringList{QString::fromStdString("Não gravados:\n\n" + TracePath(2) + "\n" + TracePath(4))});
        QVERIFY(!std::filesystem::exists(HostFile(2)));
        QVERIFY(std::filesystem::is_directory(HostFile(4)));
        QCOMPARE(Contents(HostFile(1)), TraceFile(1, "C:/Logs/", "\r\n"));
        QVERIFY(mod_Main::configsAltered());
    }
};

QTEST_MAIN(OptionsDialogTest)
#include "OptionsDialogTest.moc"
