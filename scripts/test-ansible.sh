#!/usr/bin/env bash
# Runs the Ansible example (examples/ansible) with a local connection against a fresh emulated demo machine:
# --check first reports changes and writes nothing, the first run changes the machine, the second changes
# nothing, and --check afterwards changes nothing and leaves the machine as it was. Exits non-zero otherwise.
# Uses the ci build (QUENYX_BUILD names another).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${QUENYX_BUILD:-$root/build/ci}"
tool="$build/tools/quenyx-machine/quenyx-machine"
ctl="$build/src/quenyxctl"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
machine="$work/machine"
QUENYX_MACHINE_TOOL="$tool" "$root/scripts/seed-demo.sh" "$machine" >/dev/null

export ANSIBLE_HOME="$work/ansible" ANSIBLE_LOCAL_TEMP="$work/ansible/tmp" ANSIBLE_NOCOLOR=1
export ANSIBLE_RETRY_FILES_ENABLED=0 ANSIBLE_DEPRECATION_WARNINGS=0 ANSIBLE_LOCALHOST_WARNING=0

# The changed count of the play's recap.
play() {
  local log="$work/play.log"
  if ! ansible-playbook -i "$root/examples/ansible/inventory.ini" "$root/examples/ansible/quenyx-agent.yml" \
      -e "quenyxctl=$ctl" -e "quenyx_machine=$machine" "$@" >"$log" 2>&1; then
    cat "$log" >&2
    echo "test-ansible: the playbook failed" >&2
    exit 1
  fi
  sed -n 's/.*changed=\([0-9]*\).*/\1/p' "$log" | tail -1
}

# The machine's agent configuration: its registry and the agent's trace files.
snapshot() {
  "$tool" --machine "$machine" export 'SYSTEM\CurrentControlSet\Control\Print\Printers' | md5sum
  "$tool" --machine "$machine" export 'SOFTWARE\Tessaline' | md5sum
  find "$machine/drive_c" -name '*.toml' -print0 | sort -z | xargs -0 md5sum
}

fail() { echo "test-ansible: $*" >&2; exit 1; }

fresh="$(snapshot)"
changed="$(play --check)"
[[ "$changed" -gt 0 ]] || fail "--check on a fresh machine reported no change"
[[ "$(snapshot)" == "$fresh" ]] || fail "--check changed the machine"

changed="$(play)"
[[ "$changed" -gt 0 ]] || fail "the first run reported no change"
[[ "$(snapshot)" != "$fresh" ]] || fail "the first run left the machine as it was"
grep -q '^net start Quenyx.Agent.Guardian$' <<<"$("$tool" --machine "$machine" commands)" ||
  fail "the first run did not restart the agent's services"
[[ "$(QUENYX_MACHINE="$machine" "$ctl" get DCSServer)" == "dcs02.contoso.local" ]] || fail "DCSServer was not set"

# Another run, or --check, on the configured machine: no change reported, none made.
expect_no_change() {
  local what="$1" count
  shift
  count="$(play "$@")"
  [[ "$count" -eq 0 ]] || fail "$what reported $count changes"
  [[ "$(snapshot)" == "$configured" ]] || fail "$what changed the machine"
}
configured="$(snapshot)"
expect_no_change "the second run"
expect_no_change "--check after the runs" --check

# The Windows form runs only against real Windows print servers; here its syntax and its modules are checked
# (ansible.windows comes with Debian's ansible).
if ! ansible-playbook --syntax-check -i "$root/examples/ansible/inventory-windows.ini" \
    "$root/examples/ansible/quenyx-agent-windows.yml" >"$work/windows.log" 2>&1; then
  cat "$work/windows.log" >&2
  fail "the Windows form of the playbook does not pass --syntax-check"
fi
echo "test-ansible: --check wrote nothing, the first run changed the machine, the second and --check changed nothing;" \
  "the Windows form passes --syntax-check"
