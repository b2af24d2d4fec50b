#!/usr/bin/env bash
# Installs what is missing, builds, seeds the demo machine on first use and opens the console on it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native --target quenyxadmin quenyx-machine quenyx-net

machine="${QUENYX_MACHINE:-$PWD/demo-machine}"
tool=build/native/tools/quenyx-machine/quenyx-machine
if [[ ! -e "$machine/registry.sqlite3" ]]; then
  scripts/seed-demo.sh "$machine"
  echo "run: demo machine seeded in $machine"
fi
export QUENYX_MACHINE="$machine"

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "run: no display here; this is the demo machine's agent key instead (open the console where there is a screen)."
  "$tool" reg values 'SOFTWARE\Tessaline\Quenyx\Agent'
  exit 0
fi
exec build/native/src/quenyxadmin "$@"
