#!/usr/bin/env bash
# Builds the demo machine in the folder given (default ./demo-machine) from src/resources/demo.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
machine="${1:-$root/demo-machine}"
tool="${QUENYX_MACHINE_TOOL:-$root/build/native/tools/quenyx-machine/quenyx-machine}"

"$tool" --machine "$machine" init --from "$root/src/resources/demo/demo.reg"
cp -R "$root/src/resources/demo/drive_c/." "$machine/drive_c/"
