#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: the native suites, a bounded fuzzing run and the
# Windows stage under Wine.
#
# On a machine without the cached Qt for Windows, that build (the longest single step) starts first, in the
# background, while the native stages run; its progress goes to build/qt-windows.log and is shown when the
# Windows stage needs it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
# Each stage's header says how far into the run it starts, so a slow machine's log shows where the time went.
stage() { printf '== %s (at %d min %02d s)\n' "$1" $((SECONDS / 60)) $((SECONDS % 60)); }

qt_log=build/qt-windows.log
qt_pid=""
stop_qt_build() {
    # A failed run does not leave a half-hour build behind it.
    if [[ -n "$qt_pid" ]] && kill -0 "$qt_pid" 2>/dev/null; then
        kill -- -"$qt_pid" 2>/dev/null || true
    fi
}
trap stop_qt_build EXIT
qt=$(scripts/build-qt-windows.sh --path)
if [[ ! -f "$qt/.complete" ]]; then
    mkdir -p build
    echo "== Qt for Windows: building in the background (about 28 minutes on two cores beside the native stage; log: $qt_log)"
    setsid scripts/build-qt-windows.sh </dev/null >"$qt_log" 2>&1 &
    qt_pid=$!
fi

stage "native build and tests"
cmake --preset ci
cmake --build --preset ci
ctest --preset ci
scripts/test-ansible.sh

stage "fuzzing (bounded)"
scripts/fuzz.sh "${QUENYX_FUZZ_SECONDS:-30}"

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

stage "Windows stage under Wine"
scripts/test-windows.sh
stage "every test passed"
