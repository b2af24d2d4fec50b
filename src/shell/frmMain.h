#pragma once

#include <QWidget>

#include <functional>
#include <memory>

class QLabel;

namespace quenyx::shell {

class ClickableLabel;
class ListControl;
class MenuBar;
class SingleInstance;
class TitleStrip;
class ToolButton;

// One entry of the navigation panel: the panel, its normal and selected icons, and its label.
struct NavigationEntry
{
    QWidget* panel = nullptr;
    ClickableLabel* icon = nullptr;
    ClickableLabel* selectedIcon = nullptr;
    QLabel* label = nullptr;
};

// The console's main window: its load is the start-up sequence, its unload the shutdown sequence; between
// them it shows one of three views and runs the commands of its toolbar and menu.
class frmMain final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmMain)

public:
    // `argumentText` is everything after the program's name on the command line.
    frmMain(QString argumentText, QString lockFile, QWidget* parent = nullptr);
    ~frmMain() override;

    // The start-up sequence. False when the program is to end without showing its window: another instance
    // runs (exit status 0, nothing said), or the single-instance lock cannot be made at all (status 1, after
    // a message naming the lock file and why); the window has been unloaded.
    bool Load();
    int exitStatus() const { return exitStatus_; }

    // 0 none, 1 settings, 2 printers, 3 cluster.
    qint16 currentView = 0;

    void SelectConfigsView(bool select);
    void SelectPrintersView(bool select);
    void SelectClusterView(bool select);
    void ShowCurrentView();
    void ShowClusterEntry();
    void FillSettingsList();
    void FillPrint(const QString& clusterName);
    void UpdateCommandState();
    // Runs the command of a menu entry's key, as a click on the entry does.
    void MenuClicked(const QString& key);
    bool AskYesNo(const QString& question);
    void QuitConsole();

    ListControl* settingsList() const { return listView_; }
    ListControl* printersList() const { return listViewPrinters_; }
    MenuBar* menu() const { return menu_; }

    // Tests see each start-up step by name, in order.
    static void SetStepObserverForTests(std::function<void(const QString&)> observer);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Step(const char* name);
    void BuildLayout();
    void BuildNavigation();
    void BuildKeyboardGroups();
    void BuildToolbar();
    void BuildMenuAndColumns();
    void Highlight(const NavigationEntry& entry, bool selected);
    void Unload();

    void Refresh();
    void Add();
    void Edit();
    void Exclude();
    void Properties();
    void OpenOptions(int tab);
    void About();
    void BackOnRow(ListControl& list, const QString& row);

    QString argumentText_;
    std::unique_ptr<SingleInstance> instance_;
    bool unloaded_ = false;
    int exitStatus_ = 0;

    TitleStrip* brdTop_ = nullptr;
    MenuBar* menu_ = nullptr;
    ToolButton* btnToolRefresh_ = nullptr;
    ToolButton* btnToolInclude_ = nullptr;
    ToolButton* btnToolDelete_ = nullptr;
    ToolButton* btnToolAlter_ = nullptr;
    ToolButton* btnToolProperties_ = nullptr;
    ToolButton* btnToolCancel_ = nullptr;
    QWidget* pbTreeView_ = nullptr;
    NavigationEntry configs_;
    NavigationEntry printers_;
    NavigationEntry cluster_;
    ListControl* listView_ = nullptr;
    ListControl* listViewPrinters_ = nullptr;
};

} // namespace quenyx::shell
