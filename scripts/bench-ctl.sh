#!/usr/bin/env bash
# quenyxctl as a script waits for it, timed from outside: `quenyxctl --json printers` and `quenyxctl --json set`
# of one setting, each a whole process, interleaved run by run with the anchor program (bench/AnchorCtl.cpp: one
# raw SQLite statement over the same machine's registry.sqlite3), on generated machines of 5,000 and 50,000
# printers. Prints medians, the time per printer and the ratio to the anchor beside its target. Figures are
# reported, never enforced. Usage: bench-ctl.sh [BUILD_DIR] (default build/bench, configured as bench.sh does);
# QUENYX_BENCH_RUNS sets the runs per figure (default 9).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/bench}"
export QUENYX_BENCH_RUNS="${QUENYX_BENCH_RUNS:-9}"
if [[ $# -eq 0 ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DQUENYX_BUILD_GUI=ON -DQUENYX_BUILD_TESTS=OFF -DQUENYX_BUILD_BENCH=ON >/dev/null
  cmake --build "$build" --target quenyxctl quenyx-machine anchor_ctl >/dev/null
fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

python3 - "$build" "$work" <<'EOF'
import os
import statistics
import subprocess
import sys
import time

build, work = sys.argv[1], sys.argv[2]
RUNS = int(os.environ["QUENYX_BENCH_RUNS"])
SIZES = (5000, 50000)
TOOL = f"{build}/tools/quenyx-machine/quenyx-machine"
CTL = f"{build}/src/quenyxctl"
ANCHOR = f"{build}/bench/anchor_ctl"
AGENT = r"HKEY_LOCAL_MACHINE\SOFTWARE\Tessaline\Quenyx\Agent"
PRINTERS = r"HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Print\Printers"
TARGETS = {"printers": 1.5, "set": 2.0}


def make_machine(printers):
    """`printers` printers that the spooler opens, each with its identifier and a switch; an agent key with
    secure printing on and a few catalog settings."""
    folder = f"{work}/machine-{printers}"
    lines = ["Windows Registry Editor Version 5.00", "", f"[{AGENT}]", '"DCSServer"="dcs01"',
             '"DisableAccounts"="0"', '"SecurePrintEnabled"="1"', '"ReleaserServer"="rel01"',
             '"PopUpExpiration"="30"', "", f"[{PRINTERS}]"]
    for i in range(printers):
        lines += ["", f"[{PRINTERS}\\Printer {100000 + i}]", f'"TessalineID"="{i % 30000}"',
                  f'"NCActivate"="{i % 2}"']
    reg = f"{work}/machine-{printers}.reg"
    with open(reg, "w") as f:
        f.write("\r\n".join(lines) + "\r\n")
    tool = lambda *words: subprocess.run([TOOL, "--machine", folder, *words], check=True, stdout=subprocess.DEVNULL)
    tool("init", "--from", reg)
    tool("spooler", "add", "--all")
    os.remove(reg)
    return folder


def run(words, machine):
    """One whole process, start to exit: its wall time in ms and its output."""
    start = time.perf_counter()
    done = subprocess.run(words, env=dict(os.environ, QUENYX_MACHINE=machine), stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE)
    wall = (time.perf_counter() - start) * 1000
    if done.returncode != 0:
        raise SystemExit(f"{words[0]} exited {done.returncode}: {done.stderr.decode()[-400:]}")
    return wall, done.stdout


def compare(label, ours, anchor, machine, per=None):
    """`ours` and `anchor` run alternately, the order swapped every run; the median of the per-run ratios."""
    pairs = []
    for r in range(RUNS):
        order = [("ours", ours), ("anchor", anchor)]
        if r % 2:
            order.reverse()
        got = {who: run(words(r), machine)[0] for who, words in order}
        pairs.append(got)
    mine = statistics.median(p["ours"] for p in pairs)
    raw = statistics.median(p["anchor"] for p in pairs)
    ratio = statistics.median(p["ours"] / p["anchor"] for p in pairs)
    target = TARGETS[label.split()[0]]
    each = f"  {mine / per * 1000:6.1f} us per printer (anchor {raw / per * 1000:5.1f})" if per else ""
    print(f"  {label:<24} quenyxctl {mine:8.1f} ms  anchor {raw:8.1f} ms  ratio {ratio:4.2f}  "
          f"(target {target:g}  {'within target' if ratio <= target else 'ABOVE TARGET'}){each}")


built = time.perf_counter()
machines = {n: make_machine(n) for n in SIZES}
print(f"\nquenyxctl against one raw SQLite statement, whole processes interleaved "
      f"(machines built in {time.perf_counter() - built:.1f} s; {RUNS} runs per figure, medians)")
for n, machine in machines.items():
    # The same printers in both answers, or the comparison means nothing.
    listed = run([CTL, "--json", "printers"], machine)[1].count(b'"name"')
    queried = run([ANCHOR, machine, "printers"], machine)[1].count(b'"name"')
    if listed != n or queried != n:
        raise SystemExit(f"at {n} printers quenyxctl listed {listed} and the anchor {queried}")
    compare(f"printers {n:>6} printers", lambda r: [CTL, "--json", "printers"],
            lambda r: [ANCHOR, machine, "printers"], machine, per=n)
    compare(f"set      {n:>6} printers", lambda r: [CTL, "--json", "set", "PopUpExpiration", str(40 + r)],
            lambda r: [ANCHOR, machine, "set", "PopUpExpiration", str(40 + r)], machine)
EOF
