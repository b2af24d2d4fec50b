#pragma once

#include <QWidget>

#include <functional>
#include <memory>

class QLabel;

namespace quenyx::shell {

class SingleInstance;
class TitleStrip;

// The console's main window: its load is the start-up sequence, its unload the shutdown sequence.
class frmMain final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmMain)

public:
    // `argumentText` is everything after the program's name on the command line.
    frmMain(QString argumentText, QString lockFile, QWidget* parent = nullptr);
    ~frmMain() override;

    // The start-up sequence. False when another instance runs: the window has been unloaded and the
    // program is to end without showing anything.
    bool Load();

    // 0 none, 1 settings, 2 printers, 3 cluster.
    qint16 currentView = 0;

    void QuitConsole();

    // Tests see each start-up step by name, in order.
    static void SetStepObserverForTests(std::function<void(const QString&)> observer);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Step(const char* name);
    void BuildLayout();
    void BuildMenuAndColumns();
    void ShowClusterEntry();
    void Unload();

    QString argumentText_;
    std::unique_ptr<SingleInstance> instance_;
    bool unloaded_ = false;

    TitleStrip* brdTop_ = nullptr;
    QWidget* pbTreeView_ = nullptr;
    QWidget* pbCluster_ = nullptr;
    QLabel* lblCluster_ = nullptr;
    QLabel* lblConfigs_ = nullptr;
    QLabel* lblPrinters_ = nullptr;
    QWidget* listView_ = nullptr;
    QWidget* listViewPrinters_ = nullptr;
};

} // namespace quenyx::shell
