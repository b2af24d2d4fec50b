#include "FakeDevices.h"
#include "FakeFolderBrowser.h"
#include "TestMachine.h"

#include "options/frmOptions.h"
#include "options/mod_TraceConfig.h"
#include "platform/mod_RegWin.h"
#include "platform/mod_Trace.h"
#include "session/mod_Main.h"
#include "widgets/MessageBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

using namespace quenyx;
using mod_RegWin::HKLM;
using mod_Trace::AgentKey;
using mod_Trace::kTraceComponents;
using options::frmOptions;

// What is entered before `control` is clicked, and what follows.
struct OkCase
{
    QString installType, control, folder, securePrint, address, message; // securePrint "": as loaded (off)
    std::vector<std::string> agentValues; // SecurePrintEnabled, ReleaserServer, SecurePrintChoiceEnabled
};
Q_DECLARE_METATYPE(OkCase)

class OptionsDialogTest final : public QObject
{
    Q_OBJECT

    static std::string AgentValue(const char* name) { return mod_RegWin::GetSettingString(HKLM, AgentKey, name, "-"); }

    // Notes, as each trace file is rewritten, the agent's SecurePrintEnabled and whether configsAltered is set.
    struct RecordingFiles final : platform::Files
    {
        std::shared_ptr<platform::Files> inner = platform::Current().files;
        std::vector<std::string> seen;
        std::filesystem::path HostPath(std::string_view path) override
        {
            seen.push_back(AgentValue("SecurePrintEnabled") + (mod_Main::configsAltered() ? " altered" : ""));
            return inner->HostPath(path);
        }
        std::string ToAnsi(std::string_view text) override { return inner->ToAnsi(text); }
        std::string FromAnsi(std::string_view bytes) override { return inner->FromAnsi(bytes); }
    };

    std::unique_ptr<test::TestMachine> machine_;
    std::shared_ptr<test::FakeFolderBrowser> browser_;
    QStringList messages_;

    template <typename T = QWidget> static T* Child(QObject& o, const char* name) { return o.findChild<T*>(name); }
    std::string Path(int i) const { return machine_->Folder() + "\\" + std::string(kTraceComponents[i].configFile); }
    std::filesystem::path HostFile(int i) const { return machine_->HostPath(Path(i)); }
    std::string Contents(int i) const { return platform::ReadWholeFile(HostFile(i)).value_or(""); }
    void Set(const char* n, const std::string& v) { QCOMPARE(mod_RegWin::SaveSettingString(HKLM, AgentKey, n, v), 0); }

    // The levels are "off", "critical", ... in turn.
    static std::string TraceFile(std::size_t component, const std::string& folder, const char* end)
    {
        return "base_filename = \"" + folder + std::string(kTraceComponents[component].logFile) + "\"" + end +
               "level = \"" + std::string(mod_Trace::TraceLevelName(int(component % 6))) + "\"" + end;
    }

    // The agent installed with its trace files in LF lines, and secure printing off with the choice on.
    void InstallAgent(const std::string& installType)
    {
        QCOMPARE(machine_->Admin().CreateKey(AgentKey), 0);
        Set("InstallType", installType);
        Set("PathInstall", machine_->Folder());
        Set("SecurePrintChoiceEnabled", "1");
        Set("ReleaserServer", "releaser01");
        for (std::size_t component = 0; component < kTraceComponents.size(); ++component)
            QVERIFY(platform::WriteWholeFile(HostFile(component), TraceFile(component, "C:/Logs/", "\n")));
    }

    // Opens the dialog on the trace page and hands it, loaded and shown, to `use`.
    static void Open(const std::function<void(frmOptions&)>& use)
    {
        frmOptions::SetShowHandlerForTests(use);
        frmOptions().ShowModal();
        frmOptions::SetShowHandlerForTests(nullptr);
    }

private slots:
    void init()
    {
        machine_ = test::TestMachine::Create();
        auto catalog = std::make_shared<test::FakeTextCatalog>();
        catalog->texts = {{u"TracePathRequired", u"folder?"}, {u"ReleaserAddressRequired", u"address?"}};
        catalog->texts[u"TraceFileNotWritten"] = u"lost:";
        platform::Current().textCatalog = catalog;
        platform::Current().folderBrowser = browser_ = std::make_shared<test::FakeFolderBrowser>();
        messages_.clear();
        shell::SetMessageHandlerForTests([this](const QString& text) { messages_ << text; });
        mod_Main::setConfigsAltered(false);
    }

    void cleanup() { machine_.reset(); }

    // A file that could not be read (missing, a folder) reads as level 0, and OK leaves it alone, even where it has
    // turned up since, and names it. The trace folder is the Listener's base file less its own log file's name. Only
    // the Listener's and the Sender's rows mark the settings changed, the Watcher's shows its warning, and a folder
    // chosen, not a cancelled choice, replaces the path.
    void loadChooseAndOk()
    {
        InstallAgent("1");
        QVERIFY(platform::WriteWholeFile(HostFile(0), "base_filename = \"C:/Logs/listener.log\"\r\n"));
        QVERIFY(platform::WriteWholeFile(HostFile(2), "level = \"WARN\"\r\n"));
        QVERIFY(std::filesystem::remove(HostFile(3)));
        QVERIFY(std::filesystem::remove(HostFile(4)) && std::filesystem::create_directory(HostFile(4)));
        Open([&](frmOptions& dialog) {
            QList<int> rows; // top to bottom: Listener, Sender, Guardian, LiveUpdate, HttpServer, UICaller, Watcher
            for (const auto* list : dialog.findChildren<QComboBox*>())
                rows << list->currentIndex();
            QCOMPARE(rows, (QList<int>{0, 1, 3, 0, 0, 0, 5}));
            QCOMPARE(Child<QLineEdit>(dialog, "txtTracePath")->text(), QStringLiteral("C:\\Logs\\listener.log"));
            QVERIFY(dialog.settingsChanged);                           // the load chose the Listener's row
            QVERIFY(!Child(dialog, "lblWarningWatcher")->isVisible()); // and the Watcher's, without its warning
            // The control, the chooser's answer, and whether the settings changed and the warning shows after.
            const std::tuple<const char*, const char*, bool, bool> steps[] = {
                {"cbGuardianLevel", "", false, false}, {"btnTracePath", "", false, false},
                {"cbSenderLevel", "", true, false},    {"cbUIWatcherLevel", "", false, true},
                {"cbListenerLevel", "", true, true},   {"btnTracePath", "D:\\Trace", true, true}};
            for (const auto& [control, answer, changed, warning] : steps) {
                dialog.settingsChanged = false;
                browser_->nextAnswer = answer;
                if (auto* list = qobject_cast<QComboBox*>(Child(dialog, control)))
                    QTest::keyClick(list, list->currentIndex() == 0 ? Qt::Key_End : Qt::Key_Home);
                else
                    QTest::mouseClick(Child(dialog, control), Qt::LeftButton);
                QCOMPARE(dialog.settingsChanged, changed);
                QCOMPARE(Child(dialog, "lblWarningWatcher")->isVisible(), warning);
            }
            QCOMPARE(Child<QLineEdit>(dialog, "txtTracePath")->text(), QStringLiteral("D:\\Trace"));
            QTest::mouseClick(Child(dialog, "lblPrintSecure"), Qt::LeftButton);
            QVERIFY(dialog.frmTab(0)->isVisible() && !dialog.frmTab(1)->isVisible());
            QVERIFY(platform::WriteWholeFile(HostFile(3), "level = \"info\"\n"));
            QTest::mouseClick(Child(dialog, "lblOK"), Qt::LeftButton);
        });
        QCOMPARE(messages_, QStringList{QString::fromStdString("lost:\n\n" + Path(3) + "\n" + Path(4))});
        QVERIFY(Contents(3) == "level = \"info\"\n" && std::filesystem::is_directory(HostFile(4)));
        QCOMPARE(Contents(6), TraceFile(6, "D:/Trace/", "\r\n"));
        QVERIFY(mod_Main::configsAltered());
    }

    // The choice's English caption is shown whole above the address, and the panel's texts look disabled while
    // secure printing is off.
    void securePrintPageShowsItsCaptionsWholeAndGreyedWhenDisabled()
    {
        InstallAgent("1");
        std::static_pointer_cast<test::FakeTextCatalog>(platform::Current().textCatalog)
            ->texts[u"SecurePrintChoiceActivation"] =
            u"Let users choose between printing a document at once and holding it for later release";
        Open([&](frmOptions& dialog) {
            QTest::mouseClick(Child(dialog, "lblPrintSecure"), Qt::LeftButton);
            auto* box = Child<QCheckBox>(dialog, "chkSecurePrintChoiceEnabled");
            QStyleOptionButton option;
            option.initFrom(box);
            const QRect area = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
            const QRect caption = box->fontMetrics().boundingRect(QRect(0, 0, box->width() - area.left(), 10000),
                                                                  Qt::TextWordWrap, box->text());
            QVERIFY2(caption.height() <= box->height(),
                     qPrintable(QStringLiteral("%1 of %2 pixels shown").arg(box->height()).arg(caption.height())));
            QVERIFY(box->geometry().bottom() < Child(dialog, "lblReleaserAddress")->geometry().top());

            auto* securePrint = Child<QCheckBox>(dialog, "chkPrintSecureEnable");
            for (const char* name : {"lblReleaserAddress", "lblSecurePrintWarning", "chkSecurePrintChoiceEnabled"}) {
                securePrint->setChecked(true);
                const QImage enabled = Child(dialog, name)->grab().toImage();
                securePrint->setChecked(false);
                QVERIFY2(Child(dialog, name)->grab().toImage() != enabled, name);
            }
        });
    }

    void okOrCancel_data()
    {
        QTest::addColumn<OkCase>("c");
        QTest::newRow("1") << OkCase{"1", "btnOK", "D:\\T", "1", "releaser02", "", {"1", "releaser02", "1"}};
        QTest::newRow("2") << OkCase{"2", "lblOK", "D:\\T\\", "", "", "", {"0", "releaser01", "-"}};
        QTest::newRow("5") << OkCase{"5", "btnOK", "D:\\T", "", "", "", {"0", "releaser01", "-"}};
        // The folder is asked for before the releaser's address.
        QTest::newRow("neither entered") << OkCase{"1", "lblOK", "", "1", "", "folder?", {"-", "releaser01", "1"}};
        QTest::newRow("no address") << OkCase{"1", "btnOK", "D:\\T", "1", "", "address?", {"-", "releaser01", "1"}};
        QTest::newRow("Cancel") << OkCase{"1", "lblCancel", "D:\\T", "1", "releaser02", "", {"-", "releaser01", "1"}};
        QTest::newRow("close") << OkCase{"1", "btnClose", "D:\\T", "1", "releaser02", "", {"-", "releaser01", "1"}};
    }

    // The secure-print header shows on installation type 1 only, the Watcher's row on 1 and 5, and the secure-print
    // panel follows its box. OK rewrites the trace files (the Watcher's where it is installed), then the agent's
    // values, then marks the configuration altered: the load's own choice of the Listener's row was a change.
    void okOrCancel()
    {
        QFETCH(OkCase, c);
        InstallAgent(c.installType.toStdString());
        const auto files = std::make_shared<RecordingFiles>();
        Open([&](frmOptions& dialog) {
            QCOMPARE(Child(dialog, "pbPrintSecure")->isVisible(), c.installType == "1");
            QCOMPARE(Child(dialog, "cbUIWatcherLevel")->isHidden(), c.installType == "2");
            Child<QLineEdit>(dialog, "txtTracePath")->setText(c.folder);
            if (!c.securePrint.isEmpty()) {
                Child<QCheckBox>(dialog, "chkPrintSecureEnable")->setChecked(c.securePrint == "1");
                Child<QLineEdit>(dialog, "txtReleaserAddress")->setText(c.address);
            }
            QCOMPARE(Child(dialog, "frmPrintSecureOptions")->isEnabled(), c.securePrint == "1");
            platform::Current().files = files;
            QTest::mouseClick(Child(dialog, c.control.toLatin1().constData()), Qt::LeftButton);
            QCOMPARE(dialog.isVisible(), !c.message.isEmpty());
        });
        QCOMPARE(messages_, c.message.isEmpty() ? QStringList{} : QStringList{c.message});
        const bool ok = c.control.endsWith("OK") && c.message.isEmpty();
        std::vector<std::string> seen;
        for (std::size_t component = 0; component < kTraceComponents.size(); ++component) {
            const bool rewritten = ok && (component != 5 || c.installType != "2");
            seen.insert(seen.end(), rewritten, "-");
            QCOMPARE(Contents(component),
                     rewritten ? TraceFile(component, "D:/T/", "\r\n") : TraceFile(component, "C:/Logs/", "\n"));
        }
        QCOMPARE(files->seen, seen);
        QCOMPARE((std::vector{AgentValue("SecurePrintEnabled"), AgentValue("ReleaserServer"),
                              AgentValue("SecurePrintChoiceEnabled")}),
                 c.agentValues);
        QCOMPARE(mod_Main::configsAltered(), ok);
    }
};

QTEST_MAIN(OptionsDialogTest)
#include "OptionsDialogTest.moc"
