#!/usr/bin/env bash
# Builds the benchmarks in build/bench (Release) and runs them, then prints each console operation beside the
# same answer read with one plain SQLite query, and whether it stays within 3x of it. Figures are reported, never
# enforced: a ratio above the target is printed as such and the script still exits 0. Arguments go to the
# benchmark (e.g. --benchmark_filter=EnumKeys); QUENYX_BENCH_REPETITIONS sets the runs per benchmark (default 5).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build/bench"
repetitions="${QUENYX_BENCH_REPETITIONS:-5}"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DQUENYX_BUILD_GUI=OFF -DQUENYX_BUILD_TESTS=OFF -DQUENYX_BUILD_BENCH=ON >/dev/null
cmake --build "$build" --target registry_bench

results="$build/registry_bench.json"
"$build/bench/registry_bench" --benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true \
  --benchmark_out="$results" --benchmark_out_format=json "$@"

python3 - "$results" <<'EOF'
import json
import sys

TARGET = 3.0
TO_NS = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}


def shown(ns):
    for unit, scale in (("s", 1e9), ("ms", 1e6), ("us", 1e3)):
        if ns >= scale:
            return f"{ns / scale:8.2f} {unit}"
    return f"{ns:8.0f} ns"


with open(sys.argv[1]) as f:
    runs = json.load(f)["benchmarks"]

# The CPU time, not the wall time: the work never waits, and on a shared machine the wall time mostly measures
# the neighbours. The median of the repetitions, or the single run when there is no aggregate.
times, errors = {}, {}
for run in runs:
    name = run.get("run_name", run["name"])
    if run.get("error_occurred"):
        errors[name] = run.get("error_message", "failed")
    elif run.get("aggregate_name", "median") == "median":
        times[name] = run["cpu_time"] * TO_NS[run.get("time_unit", "ns")]

operations = []
for run in runs:
    name = run.get("run_name", run["name"])
    op = name[len("BM_Raw_"):] if name.startswith("BM_Raw_") else name[len("BM_"):]
    if op not in operations:
        operations.append(op)
print()
print(f"Each operation against the same answer from one raw SQLite query (CPU time per call, median); target {TARGET:g}x")
above = 0
for op in operations:
    ours, raw = f"BM_{op}", f"BM_Raw_{op}"
    problem = errors.get(ours) or errors.get(raw)
    if problem or ours not in times or raw not in times:
        print(f"  {op:<18} NOT MEASURED: {problem or 'one side of the pair did not run'}")
        continue
    ratio = times[ours] / times[raw]
    verdict = "within target" if ratio <= TARGET else f"ABOVE TARGET ({TARGET:g}x)"
    above += ratio > TARGET
    print(f"  {op:<18} ours {shown(times[ours])}   raw {shown(times[raw])}   ratio {ratio:5.2f}x   {verdict}")
if above:
    print(f"\n{above} operation(s) above {TARGET:g}x the raw query.")
EOF
