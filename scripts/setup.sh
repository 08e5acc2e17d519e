#!/usr/bin/env bash
# Installs every Debian 12 package the project needs to build, test and run; with "windows" also what
# the Windows cross-build and its tests under wine need (about 700 MB).
# Usage: scripts/setup.sh [windows]   (as root, or through sudo when it is available)
set -euo pipefail

packages=(
  build-essential cmake ninja-build git
  clang clang-format libclang-rt-14-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  qt6-base-dev qt6-multimedia-dev libqcustomplot-dev libgl-dev
  fonts-dejavu-core fonts-liberation
  espeak-ng sox
  xdg-utils
  # The Debian packages: their dependencies (dpkg-shlibdeps) and the desktop entries' check.
  dpkg-dev file desktop-file-utils
)

if [ "${1:-}" = windows ]; then
  packages+=(g++-mingw-w64-x86-64-posix wine wine64)
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "setup.sh: run as root or install sudo" >&2; exit 1; }
  sudo_cmd=(sudo)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
