// The console's views on generated machines, offscreen, each timed from the entry's click to the list painted:
// the printers view over N printers and the settings view over an agent key of N values. (Whole-process
// start-up and the same views under a display are scripts/bench-startup.sh's.)
#include "GeneratedMachine.h"

#include "printers/Printer.h"
#include "settings/AgentSettings.h"
#include "shell/frmMain.h"
#include "widgets/ListControl.h"

#include <QApplication>
#include <QTableView>
#include <benchmark/benchmark.h>

#include <map>

namespace {

using namespace quenyx;

struct Console
{
    Console(int printers, int values) : machine(printers, values)
    {
        machine.Install(false);
        printers::printers().Clear();
        settings::SettingCatalog().Clear();
        settings::ReservedSettingNames().Clear();
        window = std::make_unique<shell::frmMain>(
            QString(), QString::fromStdString((machine.folder / "QuenyxAdmin.lock").string()));
        window->Load();
        window->show();
    }
    bench::GeneratedMachine machine;
    std::unique_ptr<shell::frmMain> window;
};

// The windows live only as long as the application object: main() closes them before it goes.
std::map<std::pair<int, int>, std::unique_ptr<Console>> consoles;

Console& ConsoleOf(int printers, int values)
{
    auto& console = consoles[{printers, values}];
    if (!console) {
        consoles.clear(); // one window at a time: the program-wide collections belong to it
        consoles[{printers, values}] = std::make_unique<Console>(printers, values);
    }
    return *consoles[{printers, values}];
}

// Chooses the view as its entry's click does, then paints the list there and then, layout included.
template <typename Select> void ClickAndPaint(Console& console, Select select, shell::ListControl* list)
{
    (console.window.get()->*select)(true);
    list->view()->viewport()->repaint();
}

void BM_ShowPrinters(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    Console& console = ConsoleOf(count, 20);
    console.machine.Install(false);
    for (auto _ : state)
        ClickAndPaint(console, &shell::frmMain::SelectPrintersView, console.window->printersList());
    if (console.window->printersList()->Count() != count)
        state.SkipWithError("not every printer was listed");
}
BENCHMARK(BM_ShowPrinters)
    ->ArgName("printers")
    ->Arg(500)
    ->Arg(5000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Showing the settings view: the agent key read again, sorted, and the list filled and painted.
void BM_ShowSettings(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    Console& console = ConsoleOf(10, count);
    console.machine.Install(false);
    for (auto _ : state)
        ClickAndPaint(console, &shell::frmMain::SelectConfigsView, console.window->settingsList());
    if (console.window->settingsList()->Count() == 0)
        state.SkipWithError("the settings view is empty");
}
BENCHMARK(BM_ShowSettings)
    ->ArgName("values")
    ->Arg(500)
    ->Arg(5000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    consoles.clear();
    return 0;
}
