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
    # A failed run leaves neither the Qt build nor the side checks behind it.
    local pid
    for pid in "$qt_pid" "$side_pid"; do
        if [[ -n "$pid" ]] && kill -0 "$pid" 2>/dev/null; then
            kill -- -"$pid" 2>/dev/null || true
        fi
    done
}
trap stop_background EXIT
# Waits for the background job whose pid the variable named $1 holds, shows its log ($2) whole, and ends
# the run if the job ($3) failed.
finish_background() {
    local -n job=$1
    local status=0
    wait "$job" || status=$?
    job=""
    cat "$2"
    if [[ $status -ne 0 ]]; then
        echo "test: $3 failed (exit $status); see $2" >&2
        exit 1
    fi
}
qt=$(scripts/build-qt-windows.sh --path)
if [[ ! -f "$qt/.complete" ]]; then
    mkdir -p build
    echo "== Qt for Windows: building in the background (about 15 minutes on two cores beside the native stage, more on a slower or busy machine; log: $qt_log)"
    setsid scripts/build-qt-windows.sh </dev/null >"$qt_log" 2>&1 &
    qt_pid=$!
fi

stage "native build and tests"
cmake --preset ci
cmake --build --preset ci
ctest --preset ci

if [[ -n "$qt_pid" ]]; then
    stage "Qt for Windows (built in the background)"
    finish_background qt_pid "$qt_log" "the Qt for Windows build"
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
finish_background side_pid "$side_log" "the Ansible example or the fuzzing"
stage "every test passed"
