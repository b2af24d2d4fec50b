#!/usr/bin/env bash
# Packages the Windows console as dist/QuenyxAdmin-<version>-x64.msi with wixl (Debian's msitools): a
# per-machine install under Program Files with a Start-menu shortcut, the text-catalog library beside the
# program, and quenyxctl beside them for scripts.
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
for file in quenyxadmin.exe quenyxctl.exe Polyglossa32.dll; do
    if [[ ! -f "$bin/$file" ]]; then
        echo "package-windows: $bin/$file is missing; build it first (scripts/test-windows.sh)" >&2
        exit 1
    fi
done

mkdir -p dist
msi="dist/QuenyxAdmin-$version-x64.msi"
# Release files are stripped of their symbols: the package carries what a user runs.
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
for file in quenyxadmin.exe quenyxctl.exe Polyglossa32.dll; do
    x86_64-w64-mingw32-strip -o "$stage/$file" "$bin/$file"
done
# wixl finds sources only by relative paths, so it runs in the staging folder.
(cd "$stage" && wixl --arch x64 -D Version="$version" -D BinDir=. -o "$root/$msi" "$root/packaging/windows/QuenyxAdmin.wxs")
echo "$msi ($(du -k "$msi" | cut -f1) KiB)"
