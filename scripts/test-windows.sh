#!/usr/bin/env bash
# The Windows stage: builds Qt for Windows once (scripts/build-qt-windows.sh, cached outside the tree),
# cross-builds the whole console and its tests with mingw-w64, runs the tests under Wine in a Wine prefix
# made fresh for the run (one prefix is one registry, so the tests run one at a time), then packages the
# MSI, signs it with a throwaway certificate (tests/packaging/check-signing.sh), and checks it end to end with
# an upgrade to the next version (scripts/check-windows-package.sh). Exits non-zero when anything fails.
#
#   scripts/test-windows.sh           the whole stage
#   scripts/test-windows.sh --build   the cross-build alone
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

qt=$(scripts/build-qt-windows.sh)
build="$root/build/mingw"
# The build carries the project's own version (an earlier run's upgrade package may have left another).
if [[ ! -f "$build/build.ninja" ]] || ! grep -qxF "QUENYX_QT_WINDOWS:PATH=$qt" "$build/CMakeCache.txt"; then
    # Against another Qt (a changed configuration has a new cache folder) the build is configured afresh: the
    # old Qt's package folders would stay in the cache and be linked.
    cmake --preset mingw --fresh -DQUENYX_QT_WINDOWS:PATH="$qt" -DQUENYX_VERSION= >/dev/null
elif grep -q '^QUENYX_VERSION:STRING=.' "$build/CMakeCache.txt"; then
    cmake --preset mingw -DQUENYX_QT_WINDOWS:PATH="$qt" -DQUENYX_VERSION= >/dev/null
fi
cmake --build --preset mingw
[[ "${1:-}" == "--build" ]] && exit 0

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

# Wine passes no QT_* variable from the host, and the offscreen platform looks for fonts only there: the
# prefix's own environment gives the form tests the fonts the console's look substitutes for Segoe UI.
timeout 120 wine reg add 'HKCU\Environment' /v QT_QPA_FONTDIR /d 'Z:\usr\share\fonts\truetype\open-sans' /f \
    </dev/null >/dev/null 2>&1

ctest --preset mingw -j1 --output-on-failure
stop_wine

echo "== the Windows package"
scripts/package-windows.sh "$build"
version=$(<"$build/quenyx-version.txt")
echo "== signing it"
tests/packaging/check-signing.sh "$build"
# The next patch version, built and packaged as a release would be, to upgrade the installed package with;
# the build then goes back to its own version.
newer=$(awk -F. '{printf "%d.%d.%d", $1, $2, $3 + 1}' <<<"$version")
echo "== a newer package ($newer) for the upgrade"
QUENYX_VERSION=$newer scripts/package-windows.sh "$build" "$build/upgrade"
cmake -S "$root" -B "$build" -DQUENYX_VERSION= >/dev/null
cmake --build "$build" --target quenyxadmin quenyxctl Polyglossa32 >/dev/null
scripts/check-windows-package.sh "dist/QuenyxAdmin-$version-x64.msi" "$build/upgrade/QuenyxAdmin-$newer-x64.msi"
