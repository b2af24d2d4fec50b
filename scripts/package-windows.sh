#!/usr/bin/env bash
# Packages the Windows console as QuenyxAdmin-<version>-x64.msi with wixl (Debian's msitools): a
# per-machine install under Program Files with a Start-menu shortcut and the program's icon, the
# text-catalog library beside the program, and quenyxctl beside them for scripts, its folder on the
# machine's PATH, and the administrative templates of the agent's settings in its PolicyDefinitions folder
# (also put beside the package). Signs the programs, the library and the package when given a certificate.
#
#   scripts/package-windows.sh [BUILD_DIR [OUT_DIR]]     default build/mingw and dist
#
#   The templates come from the native build (build/ci), made there if they are not yet; without one, a
#   native build of the generator alone in build/policies.
#
#   QUENYX_VERSION=0.1.1          package another version than the build's: the three files are built again
#                                 with it first, so that their version information says the same as the package
#   QUENYX_SIGN_PFX=FILE.pfx      sign with this PKCS#12 file (certificate and key for code signing),
#   QUENYX_SIGN_PASSWORD=...      which this password opens,
#   QUENYX_SIGN_TIMESTAMP_URL=... and have the signatures countersigned by this RFC 3161 time-stamp server
#                                 (optional; without it a signature stops verifying when the certificate expires)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
build=${1:-$root/build/mingw}
out_dir=${2:-$root/dist}
bin="$build/src"
shipped=(quenyxadmin.exe quenyxctl.exe Polyglossa32.dll)

if [[ ! -f "$build/quenyx-version.txt" ]]; then
    echo "package-windows: $build is not a configured build; build it first (scripts/test-windows.sh)" >&2
    exit 1
fi
version=$(<"$build/quenyx-version.txt")
if [[ -n "${QUENYX_VERSION:-}" && "$QUENYX_VERSION" != "$version" ]]; then
    echo "package-windows: building $QUENYX_VERSION in $build (it held $version)"
    cmake -S "$root" -B "$build" -DQUENYX_VERSION="$QUENYX_VERSION" >/dev/null
    cmake --build "$build" --target quenyxadmin quenyxctl Polyglossa32 >/dev/null
    version=$(<"$build/quenyx-version.txt")
fi
for file in "${shipped[@]}"; do
    if [[ ! -f "$bin/$file" ]]; then
        echo "package-windows: $bin/$file is missing; build it first (scripts/test-windows.sh)" >&2
        exit 1
    fi
done

# The templates are made by a program of the build machine's, so by a native build.
native=$root/build/ci
if [[ ! -f "$native/build.ninja" ]]; then
    native=$root/build/policies
    cmake -S "$root" -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUENYX_BUILD_GUI=OFF \
        -DQUENYX_BUILD_TESTS=OFF >/dev/null
fi
cmake --build "$native" --target policy_templates >/dev/null
policies=$native/policies

signing=""
if [[ -n "${QUENYX_SIGN_PFX:-}" ]]; then
    if [[ ! -f "$QUENYX_SIGN_PFX" ]]; then
        echo "package-windows: no certificate file $QUENYX_SIGN_PFX (QUENYX_SIGN_PFX)" >&2
        exit 1
    fi
    if [[ -z "${QUENYX_SIGN_PASSWORD+set}" ]]; then
        echo "package-windows: QUENYX_SIGN_PFX is set but QUENYX_SIGN_PASSWORD is not" >&2
        exit 1
    fi
    signing=1
fi

mkdir -p "$out_dir"
msi="$out_dir/QuenyxAdmin-$version-x64.msi"
# A failed run leaves no package behind, not even an older one of the same name.
rm -f "$msi"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

# Signs FILE in place; the password goes to osslsigncode in a file only this user reads, not on its command line.
sign() {
    local file=$1 log="$stage/sign.log"
    local args=(sign -pkcs12 "$QUENYX_SIGN_PFX" -readpass "$stage/password" -h sha256 -n "Quenyx Agent Admin")
    [[ -n "${QUENYX_SIGN_TIMESTAMP_URL:-}" ]] && args+=(-ts "$QUENYX_SIGN_TIMESTAMP_URL")
    if ! osslsigncode "${args[@]}" -in "$file" -out "$file.signed" >"$log" 2>&1; then
        if grep -qi "wrong password\|mac verify" "$log"; then
            echo "package-windows: cannot sign: QUENYX_SIGN_PASSWORD does not open $QUENYX_SIGN_PFX; no package made" >&2
        elif grep -qi "timestamp\|time-stamp\|curl" "$log"; then
            echo "package-windows: cannot sign $(basename "$file"): the time-stamp server $QUENYX_SIGN_TIMESTAMP_URL did not answer; no package made" >&2
        else
            echo "package-windows: cannot sign $(basename "$file") with $QUENYX_SIGN_PFX: $(grep -v '^[0-9A-F]*:error:' "$log" | head -1); no package made" >&2
        fi
        exit 1
    fi
    mv "$file.signed" "$file"
}
if [[ -n "$signing" ]]; then
    (umask 077 && printf '%s' "$QUENYX_SIGN_PASSWORD" >"$stage/password")
fi

# Release files are stripped of their symbols: the package carries what a user runs, signed when asked.
for file in "${shipped[@]}"; do
    x86_64-w64-mingw32-strip -o "$stage/$file" "$bin/$file"
    if [[ -n "$signing" ]]; then sign "$stage/$file"; fi
done
cp "$bin/quenyxadmin_resources/quenyxadmin.ico" "$stage/"
cp -R "$policies" "$stage/PolicyDefinitions"
# wixl finds sources only by relative paths, so it runs in the staging folder.
(cd "$stage" && wixl --arch x64 -D Version="$version" -D BinDir=. -o "$stage/package.msi" "$root/packaging/windows/QuenyxAdmin.wxs")
# quenyxctl's folder at the end of the machine's PATH, taken off again on uninstall (wixl has no element for
# the Environment table, so the rows go in here, as the element would write them).
msibuild "$stage/package.msi" -q "CREATE TABLE \`Environment\` (\`Environment\` CHAR(72) NOT NULL, \`Name\` CHAR(255) NOT NULL LOCALIZABLE, \`Value\` CHAR(255) LOCALIZABLE, \`Component_\` CHAR(72) NOT NULL PRIMARY KEY \`Environment\`)"
msibuild "$stage/package.msi" -q "INSERT INTO \`Environment\` (\`Environment\`, \`Name\`, \`Value\`, \`Component_\`) VALUES ('PathQuenyxctl', '=-*PATH', '[~];[INSTALLDIR]', 'CommandLine')"
msibuild "$stage/package.msi" -q "INSERT INTO \`InstallExecuteSequence\` (\`Action\`, \`Sequence\`) VALUES ('RemoveEnvironmentStrings', 3300)"
msibuild "$stage/package.msi" -q "INSERT INTO \`InstallExecuteSequence\` (\`Action\`, \`Sequence\`) VALUES ('WriteEnvironmentStrings', 5200)"
# The package is signed last: its signature covers every table, the rows added above included.
if [[ -n "$signing" ]]; then
    sign "$stage/package.msi"
    state="signed with $(basename "$QUENYX_SIGN_PFX")"
else
    state="unsigned: set QUENYX_SIGN_PFX and QUENYX_SIGN_PASSWORD to sign"
fi
mv "$stage/package.msi" "$msi"
rm -rf "$out_dir/PolicyDefinitions"
cp -R "$policies" "$out_dir/PolicyDefinitions"
echo "${msi#"$root/"} ($(du -k "$msi" | cut -f1) KiB, $state), and beside it PolicyDefinitions"
