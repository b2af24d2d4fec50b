#!/usr/bin/env bash
# What a user waits for, timed from outside: the console and the anchor program (bench/AnchorWindow.cpp: a
# frameless table window filled by one raw SQLite query) each started as a whole process, from the start to
# the first paint of the main window, interleaved, on generated machines of 500, 5,000 and 50,000 printers;
# then the printers and settings views from a real click (XTEST) on the started window to the painted list,
# console and anchor interleaved as well. Prints medians beside the targets.
# Figures are reported, never enforced. Usage: bench-startup.sh [BUILD_DIR] (default build/bench, built by
# bench.sh); QUENYX_BENCH_RUNS sets the runs per figure (default 9). Runs under Xvfb when it is installed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/bench}"
export QUENYX_BENCH_RUNS="${QUENYX_BENCH_RUNS:-9}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Debian's interpreter, which has python3-xlib for the clicks.
/usr/bin/python3 - "$build" "$work" <<'EOF'
import os
import statistics
import subprocess
import sys
import time

build, work = sys.argv[1], sys.argv[2]
RUNS = int(os.environ["QUENYX_BENCH_RUNS"])
SIZES = tuple(int(n) for n in os.environ.get("QUENYX_BENCH_SIZES", "500,5000,50000").split(","))
TOOL = f"{build}/tools/quenyx-machine/quenyx-machine"
CONSOLE = f"{build}/src/quenyxadmin"
ANCHOR = f"{build}/bench/anchor_window"
AGENT = r"HKEY_LOCAL_MACHINE\SOFTWARE\Tessaline\Quenyx\Agent"
PRINTERS = r"HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Print\Printers"
CATALOG = ("DCSServer", "DisableAccounts", "WorkFolder", "PopUpExpiration")


def make_machine(name, printers, values, logging=False):
    """A machine of `printers` printers (each with its identifier and a switch) and an agent key of `values`
    values, a few of them catalog settings; the spooler opens every printer, the agent's services run."""
    folder = f"{work}/{name}"
    lines = ["Windows Registry Editor Version 5.00", "", f"[{AGENT}]"]
    for i in range(values):
        value = CATALOG[i // 10] if i % 10 == 0 and i // 10 < len(CATALOG) else f"Value{i}"
        lines.append(f'"{value}"="text {i}"')
    if logging:
        lines += ['"TraceLevel"="1"', r'"TracePath"="C:\\Logs"']
    lines += ["", f"[{PRINTERS}]"]
    for i in range(printers):
        lines += ["", f"[{PRINTERS}\\Printer {100000 + i}]", f'"TessalineID"="{i % 30000}"', '"NCActivate"="0"']
    reg = f"{work}/{name}.reg"
    with open(reg, "w") as f:
        f.write("\r\n".join(lines) + "\r\n")
    tool = lambda *words: subprocess.run([TOOL, "--machine", folder, *words], check=True, stdout=subprocess.DEVNULL)
    tool("init", "--from", reg)
    tool("spooler", "add", "--all")
    for service in ("listener", "sender", "httpServer", "liveupdate", "Guardian"):
        tool("service", "set", f"Quenyx.Agent.{service}", "running")
    os.makedirs(f"{folder}/drive_c/Logs", exist_ok=True)
    os.remove(reg)
    return folder


def start_display():
    """An Xvfb display for the runs, or None (then the offscreen platform is used)."""
    try:
        read, write = os.pipe()
        server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-nolisten", "tcp", "-screen", "0",
                                   "1280x1024x24"], pass_fds=(write,), stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as announced:
            number = announced.readline().strip()
        if not number.isdigit():
            server.kill()
            return None, None
        return server, f":{number}"
    except (OSError, ValueError):
        return None, None


def run(program, machine, extra_env=None):
    """One whole process: wall time from the start to the figure's line, its own figure, max RSS and CPU."""
    env = dict(os.environ, QUENYX_MACHINE=machine, **(extra_env or {}))
    lock = f"{machine}/QuenyxAdmin.lock"
    if os.path.exists(lock):
        os.remove(lock)
    start = time.perf_counter()
    child = subprocess.Popen([program], env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    line = child.stdout.readline().decode()
    wall = (time.perf_counter() - start) * 1000
    _, status, usage = os.wait4(child.pid, 0)
    child.returncode = os.waitstatus_to_exitcode(status)
    if ":" not in line:
        raise SystemExit(f"{program} on {machine} reported nothing (exit {child.returncode}): "
                         f"{child.stderr.read().decode()[-400:]}")
    # The peak memory as the program saw it: a child's own maximum would start from this script's size.
    words = line.split()
    return {"wall": wall, "own": float(words[1]), "rss": float(words[3]) / 1024.0,
            "cpu": (usage.ru_utime + usage.ru_stime) * 1000}


class Pointer:
    """Real clicks on the display, through the X server's XTEST extension (Debian's python3-xlib)."""

    def __init__(self, name):
        from Xlib import X, display as xdisplay
        from Xlib.ext import xtest
        self.X, self.xtest, self.x = X, xtest, xdisplay.Display(name)

    def click(self, x, y):
        for kind, detail, where in ((self.X.MotionNotify, 0, {"x": x, "y": y}), (self.X.ButtonPress, 1, {}),
                                    (self.X.ButtonRelease, 1, {})):
            self.xtest.fake_input(self.x, kind, detail, **where)
            self.x.sync()


def clicked(pointer, program, machine, view):
    """One whole process: started, clicked where it says VIEW is chosen, timed from the click to the paint that
    shows the list's rows (both clocks are the system's monotonic clock)."""
    env = dict(os.environ, QUENYX_MACHINE=machine, QUENYX_VIEW_CLICK=view)
    lock = f"{machine}/QuenyxAdmin.lock"
    if os.path.exists(lock):
        os.remove(lock)
    child = subprocess.Popen([program], env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    ready = child.stdout.readline().decode().split()
    if len(ready) != 3 or ready[0] != "ready:":
        child.kill()
        raise SystemExit(f"{program} on {machine} did not get ready for the click: {child.stderr.read().decode()[-400:]}")
    clicked_at = time.monotonic_ns()
    pointer.click(int(ready[1]), int(ready[2]))
    painted = child.stdout.readline().decode().split()
    child.wait()
    if len(painted) != 2 or painted[0] != "view-painted-ns:":
        raise SystemExit(f"{program} on {machine} reported no painted list: {child.stderr.read().decode()[-400:]}")
    return (int(painted[1]) - clicked_at) / 1e6


def verdict(value, target):
    return "within target" if value <= target else "ABOVE TARGET"


server, display = start_display()
base_env = {"DISPLAY": display} if display else {"QT_QPA_PLATFORM": "offscreen"}
os.environ.update(base_env)
os.environ.pop("QT_QPA_PLATFORM" if display else "DISPLAY", None)
try:
    built = time.perf_counter()
    printers = {n: make_machine(f"printers-{n}", n, 40) for n in SIZES}
    settings = {n: make_machine(f"settings-{n}", 10, n) for n in SIZES}
    logged = make_machine("logged-5000", 5000, 40, logging=True)
    print(f"\nMachines built in {time.perf_counter() - built:.1f} s "
          f"({'Xvfb ' + display if display else 'offscreen'}; {RUNS} runs per figure, medians)")

    print("\nStart-up to the first paint of the main window, whole processes, console and anchor interleaved")
    startup = {}
    for n in SIZES:
        pairs = []
        for r in range(RUNS):
            order = [("console", CONSOLE), ("anchor", ANCHOR)]
            if r % 2:
                order.reverse()
            got = {who: run(program, printers[n], {"QUENYX_STARTUP_TIME": "1"}) for who, program in order}
            pairs.append(got)
        med = lambda who, what: statistics.median(p[who][what] for p in pairs)
        ratio = statistics.median(p["console"]["wall"] / p["anchor"]["wall"] for p in pairs)
        cpu_ratio = statistics.median(p["console"]["cpu"] / p["anchor"]["cpu"] for p in pairs)
        rss_ratio = statistics.median(p["console"]["rss"] / p["anchor"]["rss"] for p in pairs)
        startup[n] = {who: {what: med(who, what) for what in ("wall", "rss", "cpu")} for who in ("console", "anchor")}
        target = {5000: 1.3, 50000: 1.5}.get(n)
        shown = f"target {target:g}  {verdict(ratio, target)}" if target else "no target"
        print(f"  {n:>6} printers  console {med('console', 'wall'):7.0f} ms  anchor {med('anchor', 'wall'):7.0f} ms"
              f"  ratio {ratio:4.2f}  ({shown}); CPU ratio {cpu_ratio:4.2f}")
        print(f"  {'':>6}           max RSS console {med('console', 'rss'):6.1f} MB  anchor {med('anchor', 'rss'):6.1f} MB"
              f"  ratio {rss_ratio:4.2f}  (target 1.2  {verdict(rss_ratio, 1.2)})")
    lo, hi = SIZES[0], SIZES[-1]
    for who in ("console", "anchor"):
        ms = (startup[hi][who]["wall"] - startup[lo][who]["wall"]) / (hi - lo) * 1000
        kb = (startup[hi][who]["rss"] - startup[lo][who]["rss"]) / (hi - lo) * 1024 * 1024
        print(f"  per printer, {lo} to {hi}: {who:<7} {ms:6.1f} us  {kb:6.0f} bytes")

    # The diagnostic log on, paired with the anchor on the same machine at the same moment.
    pairs = []
    for r in range(RUNS):
        order = [("console", CONSOLE), ("anchor", ANCHOR)]
        if r % 2:
            order.reverse()
        pairs.append({who: run(program, logged, {"QUENYX_STARTUP_TIME": "1"}) for who, program in order})
    ratio = statistics.median(p["console"]["wall"] / p["anchor"]["wall"] for p in pairs)
    logged_ms = statistics.median(p["console"]["wall"] for p in pairs)
    print(f"    5000 printers, diagnostic log on: console {logged_ms:7.0f} ms  anchor "
          f"{statistics.median(p['anchor']['wall'] for p in pairs):7.0f} ms  ratio {ratio:4.2f}  (no target); "
          + (f"{logged_ms / startup[5000]['console']['wall']:4.2f} times the log off" if 5000 in startup else ""))

    if not display:
        print("\nViews from a real click: NOT MEASURED (no Xvfb to click on)")
    else:
        pointer = Pointer(display)
        print("\nViews from a real click on the started window to the painted list (X events through XTEST), "
              "whole processes, console and anchor interleaved")
        for view, machines, unit in (("printers", printers, "printers"), ("settings", settings, "values")):
            for n in SIZES:
                pairs = []
                for r in range(RUNS):
                    order = [("console", CONSOLE), ("anchor", ANCHOR)]
                    if r % 2:
                        order.reverse()
                    pairs.append({who: clicked(pointer, program, machines[n], view) for who, program in order})
                ms = statistics.median(p["console"] for p in pairs)
                anchor_ms = statistics.median(p["anchor"] for p in pairs)
                ratio = statistics.median(p["console"] / p["anchor"] for p in pairs)
                target = {5000: 100, 50000: 300}.get(n)
                shown = f"target {target} ms  {verdict(ms, target)}" if target else "no target"
                print(f"  {view:<8} {n:>6} {unit:<8} console {ms:7.1f} ms  anchor {anchor_ms:7.1f} ms  "
                      f"ratio {ratio:5.2f}  ({shown})")
finally:
    if server:
        server.terminate()
        server.wait()
EOF
