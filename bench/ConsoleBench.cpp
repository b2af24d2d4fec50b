// The console's own costs on generated machines, offscreen: filling the printers view and the settings
// view, and a whole start-up to an idle window (quenyxadmin run as a child, which reports its own time).
#include "GeneratedMachine.h"

#include "printers/Printer.h"
#include "settings/AgentSettings.h"
#include "widgets/ListControl.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

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

void BM_FillPrinters(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    Console& console = ConsoleOf(count, 20);
    console.machine.Install(false);
    console.window->SelectPrintersView(true);
    for (auto _ : state)
        console.window->FillPrint(QString());
    if (console.window->printersList()->Count() != count)
        state.SkipWithError("not every printer was listed");
    state.counters["per_printer"] =
        benchmark::Counter(count, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_FillPrinters)->ArgName("printers")->Arg(500)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond)->UseRealTime();

// Showing the settings view: the agent key read again, sorted, and the list filled.
void BM_ShowSettings(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    Console& console = ConsoleOf(10, count);
    console.machine.Install(false);
    for (auto _ : state)
        console.window->SelectConfigsView(true);
    if (console.window->settingsList()->Count() == 0)
        state.SkipWithError("the settings view is empty");
    state.counters["per_value"] =
        benchmark::Counter(count, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ShowSettings)->ArgName("values")->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_StartUp(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const bench::GeneratedMachine machine(count, 50);
    const std::string command = "QT_QPA_PLATFORM=offscreen QUENYX_STARTUP_TIME=1 QUENYX_MACHINE='" +
                                machine.folder.string() + "' '" QUENYXADMIN_PATH "' 2>/dev/null";
    for (auto _ : state) {
        FILE* child = ::popen(command.c_str(), "r");
        long long ms = -1;
        if (child) {
            std::ignore = std::fscanf(child, "startup-ms: %lld", &ms);
            ::pclose(child);
        }
        if (ms < 0) {
            state.SkipWithError("quenyxadmin reported no start-up time");
            break;
        }
        state.SetIterationTime(static_cast<double>(ms) / 1000.0);
    }
    state.counters["per_printer"] =
        benchmark::Counter(count, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_StartUp)->ArgName("printers")->Arg(500)->Arg(5000)->Arg(50000)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

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
