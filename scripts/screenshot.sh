#!/usr/bin/env bash
# Opens the console on the demo machine under Xvfb and saves what it shows as a PNG (default
# build/screenshots/console.png).
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-build/screenshots/console.png}"
mkdir -p "$(dirname "$out")"

scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native --target quenyxadmin quenyx-machine >/dev/null

machine=$(mktemp -d)
trap 'rm -rf "$machine"' EXIT
scripts/seed-demo.sh "$machine" >/dev/null
QUENYX_MACHINE="$machine" QUENYX_SCREENSHOT="$PWD/$out" QUENYX_LANGUAGE="${QUENYX_LANGUAGE:-en}" \
  timeout 60 xvfb-run -a -s "-screen 0 1280x800x24 -dpi 96" build/native/src/quenyxadmin
echo "screenshot: $out"
