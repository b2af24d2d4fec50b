#!/usr/bin/env bash
# Opens the console on the demo machine under Xvfb and saves what it shows as PNGs in the folder given
# (default build/screenshots): console.png as it opens, then settings.png and printers.png with those views.
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-build/screenshots}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"

scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native --target quenyxadmin quenyx-machine quenyx-net >/dev/null

machine=$(mktemp -d)
trap 'rm -rf "$machine"' EXIT
scripts/seed-demo.sh "$machine" >/dev/null
for view in "" settings printers; do
  QUENYX_MACHINE="$machine" QUENYX_SCREENSHOT="$out/${view:-console}.png" QUENYX_SCREENSHOT_VIEW="$view" \
    QUENYX_LANGUAGE="${QUENYX_LANGUAGE:-en}" \
    timeout 60 xvfb-run -a -s "-screen 0 1280x800x24 -dpi 96" build/native/src/quenyxadmin
  echo "screenshot: $out/${view:-console}.png"
done
