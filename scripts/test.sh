#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: the native suites, the Ansible example, a bounded
# fuzzing run and the Windows stage under Wine.
#
# On a machine without the cached Qt for Windows, that build (the longest single step) starts first, in the
# background, while the native stage runs; its progress goes to build/qt-windows.log and is shown when the
# Windows stage needs it. The Ansible example and the fuzzing run beside the Windows tests, into
# build/side-checks.log, shown when those are over.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
# Each stage's header says how far into the run it starts, so a slow machine's log shows where the time went.
stage() { printf '== %s (at %d min %02d s)\n' "$1" $((SECONDS / 60)) $((SECONDS % 60)); }

qt_log=build/qt-windows.log
side_log=build/side-checks.log
qt_pid=""
side_pid=""
stop_background() {
    # A failed run leaves neither the half-hour build nor the side checks behind it.
    local pid
    for pid in "$qt_pid" "$side_pid"; do
        if [[ -n "$pid" ]] && kill -0 "$pid" 2>/dev/null; then
            kill -- -"$pid" 2>/dev/null || true
        fi
    done
}
trap stop_background EXIT
qt=$(scripts/build-qt-windows.sh --path)
if [[ ! -f "$qt/.complete" ]]; then
    mkdir -p build
    echo "== Qt for Windows: building in the background (about 25 minutes on two cores beside the native stage; log: $qt_log)"
    setsid scripts/build-qt-windows.sh </dev/null >"$qt_log" 2>&1 &
    qt_pid=$!
fi

stage "native build and tests"
cmake --preset ci
cmake --build --preset ci
ctest --preset ci

if [[ -n "$qt_pid" ]]; then
    stage "Qt for Windows (built in the background)"
    status=0
    wait "$qt_pid" || status=$?
    qt_pid=""
    cat "$qt_log"
    if [[ $status -ne 0 ]]; then
        echo "test: the Qt for Windows build failed (exit $status); see $qt_log" >&2
        exit 1
    fi
fi

stage "Windows cross-build"
scripts/test-windows.sh --build

# The Ansible example and the bounded fuzzing need nothing of Windows. Under Wine the tests and the package
# check run one thing at a time and leave a core idle, so these two run beside them; their output is shown
# whole when the Windows stage is over.
setsid bash -c "scripts/test-ansible.sh && scripts/fuzz.sh ${QUENYX_FUZZ_SECONDS:-30}" </dev/null >"$side_log" 2>&1 &
side_pid=$!

stage "Windows stage under Wine"
scripts/test-windows.sh

stage "the Ansible example and fuzzing (run beside the Windows stage)"
status=0
wait "$side_pid" || status=$?
side_pid=""
cat "$side_log"
if [[ $status -ne 0 ]]; then
    echo "test: the Ansible example or the fuzzing failed (exit $status); see $side_log" >&2
    exit 1
fi
stage "every test passed"
