#!/usr/bin/env bash
# Builds the demo machine in the folder given (default ./demo-machine) from src/resources/demo.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
machine="${1:-$root/demo-machine}"
tool="${QUENYX_MACHINE_TOOL:-$root/build/native/tools/quenyx-machine/quenyx-machine}"
q() { "$tool" --machine "$machine" "$@"; }

q init --from "$root/src/resources/demo/demo.reg"
cp -R "$root/src/resources/demo/drive_c/." "$machine/drive_c/"

for service in listener sender httpServer liveupdate Guardian; do
  q service set "Quenyx.Agent.$service" running
done
q service set Quenyx.Agent.Watcher running

# The spooler opens every printer of this machine but the offline plotter.
for printer in "Finance LaserJet 4250" "HR Color MFP" "Reception Printer" "Warehouse Label Printer"; do
  q spooler add "$printer"
done

# What the printer status component says: accounting switched off by the server for one printer,
# locally for another, both for a cluster printer.
q status set "Warehouse Label Printer" 1
q status set "HR Color MFP" 2
q status set '\\PrnCluster\Clustered Copier 02' 3
