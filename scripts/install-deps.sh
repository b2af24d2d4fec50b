#!/usr/bin/env bash
# Installs what building, running and testing need, from Debian's packages. Quick when all is there.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ pkg-config python3
  # core
  libsqlite3-dev
  # console
  qt6-base-dev qt6-l10n-tools libgl-dev fonts-open-sans librsvg2-bin
  # tests, benchmarks and fuzzing
  googletest libgtest-dev libbenchmark-dev clang libclang-rt-14-dev xvfb xauth
  # the console driven with real input on a private X server, and read as a screen reader reads it (AT-SPI
  # over a D-Bus session of the test's own)
  python3-xlib python3-pyatspi at-spi2-core dbus-daemon
  # the Windows resources of the built programs, read back by the tests
  python3-pefile
  # the Ansible example's test (ansible brings ansible.windows for the Windows form)
  ansible
  # the Windows stage: the cross compilers, Qt for Windows built from Debian's source package (dpkg-dev for
  # apt-get source), Wine, the MSI tools, and what the package check looks through (xdotool, imagemagick)
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix dpkg-dev xz-utils wine wine64 wixl msitools
  xdotool imagemagick
  # signing the package (and the throwaway certificate its test signs with)
  osslsigncode openssl
)

# apt-get source needs Debian's source lists beside the binary ones: the same archives as the machine's own
# binary entries, with deb-src.
deb_src=/etc/apt/sources.list.d/quenyx-deb-src.sources
need_update=0
if [[ ! -f "$deb_src" ]] && ! grep -rqs -e '^deb-src ' -e '^Types:.*deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  if [[ $(id -u) -ne 0 ]]; then
    echo "install-deps: no deb-src entry for Debian's sources (run as root to add one)" >&2
    exit 1
  fi
  {
    for list in /etc/apt/sources.list.d/*.sources; do
      [[ -f "$list" ]] && sed -n '/^Types:/,/^$/p' "$list" | sed 's/^Types: .*/Types: deb-src/'
      echo
    done
  } >"$deb_src.tmp"
  if [[ -f /etc/apt/sources.list ]]; then
    grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' >/etc/apt/sources.list.d/quenyx-deb-src.list || true
  fi
  mv "$deb_src.tmp" "$deb_src"
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]} == 0)); then
  if ((need_update)); then
    apt-get update -qq
  fi
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
