#!/usr/bin/env bash
# Signing the Windows package, as a release manager does it with the company's certificate: here a throwaway
# self-signed code-signing certificate made with openssl. Packages with it and verifies the signature of the
# package and of every program and library inside it; then checks that a wrong password makes no package,
# and that without a certificate the package is made unsigned and says so.
#
#   tests/packaging/check-signing.sh [BUILD_DIR]      default build/mingw
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${1:-$root/build/mingw}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
pass() { echo "  ok: $*"; }
fail() {
    echo "  FAILED: $*"
    failures=$((failures + 1))
}

echo "== signing with a throwaway code-signing certificate"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -keyout "$work/key.pem" -out "$work/cert.pem" \
    -subj "/CN=Quenyx test signing/O=Tessaline" -addext "basicConstraints=CA:FALSE" \
    -addext "keyUsage=digitalSignature" -addext "extendedKeyUsage=codeSigning" >/dev/null 2>&1
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/signing.pfx" \
    -passout pass:'pa$$ wörd' >/dev/null 2>&1

package() { "$root/scripts/package-windows.sh" "$build" "$work/$1" >"$work/$1.log" 2>&1; }
verify() { osslsigncode verify -CAfile "$work/cert.pem" -in "$1" >"$work/verify.log" 2>&1; }

if QUENYX_SIGN_PFX="$work/signing.pfx" QUENYX_SIGN_PASSWORD='pa$$ wörd' package signed; then
    pass "$(tail -1 "$work/signed.log")"
    msi=$(ls "$work"/signed/QuenyxAdmin-*-x64.msi)
    verify "$msi" && pass "the package's signature verifies" || fail "the package's signature: $(tail -3 "$work/verify.log")"
    msiextract -C "$work/extracted" "$msi" >/dev/null
    for file in quenyxadmin.exe quenyxctl.exe Polyglossa32.dll; do
        found=$(find "$work/extracted" -name "$file" | head -1)
        if [[ -z "$found" ]]; then
            fail "$file is not in the package"
        elif verify "$found"; then
            pass "$file in the package is signed and verifies"
        else
            fail "$file in the package: $(tail -3 "$work/verify.log")"
        fi
    done
else
    fail "packaging with a certificate failed: $(cat "$work/signed.log")"
fi

echo "== a wrong password"
if QUENYX_SIGN_PFX="$work/signing.pfx" QUENYX_SIGN_PASSWORD=wrong package wrong; then
    fail "packaging with a wrong password succeeded"
else
    message=$(tail -1 "$work/wrong.log")
    [[ "$message" == *"QUENYX_SIGN_PASSWORD does not open"* ]] && pass "refused: $message" ||
        fail "refused, but with: $(cat "$work/wrong.log")"
fi
[[ -z "$(ls "$work/wrong"/*.msi 2>/dev/null)" ]] && pass "no package made" || fail "a package was left behind"

echo "== no certificate"
if env -u QUENYX_SIGN_PFX -u QUENYX_SIGN_PASSWORD "$root/scripts/package-windows.sh" "$build" "$work/unsigned" \
    >"$work/unsigned.log" 2>&1; then
    [[ "$(tail -1 "$work/unsigned.log")" == *"unsigned"* ]] && pass "$(tail -1 "$work/unsigned.log")" ||
        fail "the unsigned package did not say so: $(cat "$work/unsigned.log")"
    ! verify "$work"/unsigned/*.msi && pass "and carries no signature" || fail "the package is signed"
else
    fail "packaging without a certificate failed: $(cat "$work/unsigned.log")"
fi

if ((failures > 0)); then
    echo "check-signing: $failures checks failed"
    exit 1
fi
echo "check-signing: every check passed"
