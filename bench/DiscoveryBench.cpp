// Start-up's searches on generated emulated machines: SearchPrinters over a spooler key of N printers and
// SearchGeneralValues over an agent key of N values, with the diagnostic log off and on. The counters
// give the time per printer and per value, so growth with N reads off directly.
#include "GeneratedMachine.h"

#include "platform/mod_Trace.h"
#include "printers/Printer.h"
#include "printers/mod_Printers.h"
#include "settings/AgentSettings.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

using namespace quenyx;

// One machine per size, built once for all the runs that use it.
bench::GeneratedMachine& MachineOf(int printers, int values)
{
    static std::map<std::pair<int, int>, std::unique_ptr<bench::GeneratedMachine>> machines;
    auto& machine = machines[{printers, values}];
    if (!machine)
        machine = std::make_unique<bench::GeneratedMachine>(printers, values);
    return *machine;
}

void BM_SearchPrinters(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    MachineOf(count, 10).Install(state.range(1) != 0);
    for (auto _ : state) {
        printers::printers().Clear();
        benchmark::DoNotOptimize(mod_Printers::SearchPrinters(mod_Printers::SpoolerPrintersKey, ""));
    }
    if (printers::printers().Count() != count)
        state.SkipWithError("not every printer was listed");
    state.counters["per_printer"] =
        benchmark::Counter(count, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    mod_Trace::ResetTraceSettings();
}
BENCHMARK(BM_SearchPrinters)
    ->ArgNames({"printers", "log"})
    ->Args({500, 0})
    ->Args({5000, 0})
    ->Args({50000, 0})
    ->Args({5000, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_SearchGeneralValues(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    MachineOf(1, count).Install(state.range(1) != 0);
    if (settings::SettingCatalog().Count() == 0)
        settings::LoadSettingCatalog();
    for (auto _ : state)
        settings::SearchGeneralValues();
    if (settings::KnownGeneralKeys().Count() + settings::OtherGeneralKeys().Count() != count)
        state.SkipWithError("not every value was sorted");
    state.counters["per_value"] =
        benchmark::Counter(count, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    mod_Trace::ResetTraceSettings();
}
BENCHMARK(BM_SearchGeneralValues)
    ->ArgNames({"values", "log"})
    ->Args({100, 0})
    ->Args({1000, 0})
    ->Args({10000, 0})
    ->Args({1000, 1})
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

// One line of the diagnostic log beside the least any log line costs: a raw open, append and close of the
// same file by a plain loop. The log keeps that contract (nothing held open, nothing buffered), so the
// difference is what the log does besides.
void BM_WriteTrace(benchmark::State& state)
{
    MachineOf(1, 10).Install(true);
    for (auto _ : state)
        mod_Trace::WriteTrace("FillPrint", "1 escrevendo => Printer 100001");
    mod_Trace::ResetTraceSettings();
}
BENCHMARK(BM_WriteTrace)->Unit(benchmark::kMicrosecond);

void BM_Raw_WriteTrace(benchmark::State& state)
{
    bench::GeneratedMachine& machine = MachineOf(1, 10);
    const std::string file = (machine.folder / "drive_c" / "Logs" / "raw.log").string();
    const std::string line = "14:05:33 [FillPrint]  - 1 escrevendo => Printer 100001\r\n";
    for (auto _ : state) {
        std::FILE* f = std::fopen(file.c_str(), "ab");
        std::fwrite(line.data(), 1, line.size(), f);
        std::fclose(f);
    }
}
BENCHMARK(BM_Raw_WriteTrace)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
