#!/usr/bin/env bash
# Packages the Windows console as dist/QuenyxAdmin-<version>-x64.msi with wixl (Debian's msitools): a
# per-machine install under Program Files with a Start-menu shortcut and the program's icon, the
# text-catalog library beside the program, and quenyxctl beside them for scripts, its folder on the
# machine's PATH.
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
cp "$bin/quenyxadmin_resources/quenyxadmin.ico" "$stage/"
# wixl finds sources only by relative paths, so it runs in the staging folder.
(cd "$stage" && wixl --arch x64 -D Version="$version" -D BinDir=. -o "$root/$msi" "$root/packaging/windows/QuenyxAdmin.wxs")
# quenyxctl's folder at the end of the machine's PATH, taken off again on uninstall (wixl has no element for
# the Environment table, so the rows go in here, as the element would write them).
msibuild "$msi" -q "CREATE TABLE \`Environment\` (\`Environment\` CHAR(72) NOT NULL, \`Name\` CHAR(255) NOT NULL LOCALIZABLE, \`Value\` CHAR(255) LOCALIZABLE, \`Component_\` CHAR(72) NOT NULL PRIMARY KEY \`Environment\`)"
msibuild "$msi" -q "INSERT INTO \`Environment\` (\`Environment\`, \`Name\`, \`Value\`, \`Component_\`) VALUES ('PathQuenyxctl', '=-*PATH', '[~];[INSTALLDIR]', 'CommandLine')"
msibuild "$msi" -q "INSERT INTO \`InstallExecuteSequence\` (\`Action\`, \`Sequence\`) VALUES ('RemoveEnvironmentStrings', 3300)"
msibuild "$msi" -q "INSERT INTO \`InstallExecuteSequence\` (\`Action\`, \`Sequence\`) VALUES ('WriteEnvironmentStrings', 5200)"
echo "$msi ($(du -k "$msi" | cut -f1) KiB)"
