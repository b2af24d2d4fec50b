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

# The system information tool: its registry entries as Windows keeps them, and in the machine's drive C: a
# stand-in that writes a report on the host and opens it where a desktop can.
regfile="$(mktemp)"
trap 'rm -f "$regfile"' EXIT
cat > "$regfile" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools\MSINFO]
"PATH"="C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools Location]
"MSINFO"="C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo"
REG
q import "$regfile"
msinfo="$machine/drive_c/Program Files/Common Files/Microsoft Shared/MSInfo/msinfo32.exe"
mkdir -p "$(dirname "$msinfo")"
cat > "$msinfo" <<'TOOL'
#!/bin/sh
report="$QUENYX_MACHINE/drive_c/Windows/Temp/msinfo32.txt"
mkdir -p "$(dirname "$report")"
{
  echo "System information (stand-in for msinfo32.exe)"
  date
  uname -a
  grep -m1 "model name" /proc/cpuinfo 2>/dev/null
  grep -E "MemTotal|MemAvailable" /proc/meminfo 2>/dev/null
} > "$report"
if command -v xdg-open >/dev/null 2>&1; then
  exec xdg-open "$report"
fi
TOOL
chmod +x "$msinfo"
