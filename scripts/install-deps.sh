#!/usr/bin/env bash
# Installs what building, running and testing need, from Debian's packages. Quick when all is there.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ pkg-config python3
  # core
  libsqlite3-dev
  # console
  qt6-base-dev qt6-svg-dev qt6-tools-dev qt6-l10n-tools libgl-dev fonts-open-sans
  # tests, benchmarks and fuzzing
  googletest libgtest-dev libbenchmark-dev clang libclang-rt-14-dev xvfb xauth
  # the Ansible example's test
  ansible-core
  # the Windows stage
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix wine wine64
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

if [[ $(id -u) -ne 0 ]]; then
  echo "install-deps: missing packages: ${missing[*]} (run as root to install them)" >&2
  exit 1
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
