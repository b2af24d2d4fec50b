#!/usr/bin/env bash
# Packages the Windows console as dist/QuenyxAdmin-<version>-x64.msi with wixl (Debian's msitools): a
# per-machine install under Program Files with a Start-menu shortcut, the text-catalog library beside the
# program. Builds the Windows console first when it is missing (scripts/build-windows.sh).
#
#   scripts/package-windows.sh [BUILD_DIR]     default build/mingw
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
build=${1:-$root/build/mingw}
bin="$build/src"

version=$(sed -n 's/^project(QuenyxAdmin VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
if [[ -z "$version" ]]; then
    echo "package-windows: no version in CMakeLists.txt's project()" >&2
    exit 1
fi
for file in quenyxadmin.exe Polyglossa32.dll; do
    if [[ ! -f "$bin/$file" ]]; then
        echo "package-windows: $bin/$file is missing; build the Windows console first (scripts/build-windows.sh)" >&2
        exit 1
    fi
done

mkdir -p dist
msi="dist/QuenyxAdmin-$version-x64.msi"
# Release files are stripped of their symbols: the package carries what a user runs.
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
for file in quenyxadmin.exe Polyglossa32.dll; do
    x86_64-w64-mingw32-strip -o "$stage/$file" "$bin/$file"
done
wixl --arch x64 -D Version="$version" -D BinDir="$stage" -o "$msi" packaging/windows/QuenyxAdmin.wxs
echo "$msi ($(du -k "$msi" | cut -f1) KiB)"
