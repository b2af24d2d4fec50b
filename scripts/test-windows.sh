#!/usr/bin/env bash
# The Windows stage: cross-builds the core and its tests with mingw-w64 and runs them under Wine, headless,
# in a Wine prefix made fresh for the run (one prefix is one registry, so the tests run one at a time).
# Exits non-zero when the build or any test fails.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

build="$root/build/mingw"
if [[ ! -f "$build/build.ninja" ]]; then
  cmake --preset mingw
fi
cmake --build --preset mingw

export WINEPREFIX="$build/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all
# No prompts for Mono or Gecko: nothing here needs .NET or HTML.
export WINEDLLOVERRIDES="mscoree,mshtml="
# The same code page (1252) and formats wherever the stage runs.
export LC_ALL=C.UTF-8
unset DISPLAY WAYLAND_DISPLAY

stop_wine() { timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true; }
trap stop_wine EXIT

stop_wine
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"

# One wineserver for the whole run, and Wine's own services started before ctest, all with their standard
# streams on /dev/null: a service started from inside a test would inherit ctest's pipes and keep every
# test waiting until it exits.
timeout 30 wineserver -p </dev/null >/dev/null 2>&1
if ! timeout 300 wineboot --init </dev/null >/dev/null 2>&1; then
  echo "test-windows: wineboot could not create $WINEPREFIX" >&2
  exit 1
fi
for exe in "$build"/tests/*/*.exe; do
  timeout 120 wine "$exe" --gtest_list_tests </dev/null >/dev/null 2>&1 || true
done

ctest --preset mingw -j1 --output-on-failure
