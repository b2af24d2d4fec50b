#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: the native suites, a bounded fuzzing run and the
# Windows stage under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

echo "== native build and tests"
cmake --preset ci
cmake --build --preset ci
ctest --preset ci
scripts/test-ansible.sh

echo "== fuzzing (bounded)"
scripts/fuzz.sh "${QUENYX_FUZZ_SECONDS:-30}"

echo "== Windows stage under Wine"
scripts/test-windows.sh
