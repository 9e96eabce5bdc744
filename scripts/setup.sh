#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, when it is missing,
# then configures and builds. Safe to run again.
# Usage: setup.sh [build folder] [build type] [cmake options...]   (default: build Release)
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake make g++ pkg-config qt6-base-dev
  libcli11-dev i3blocks tmux man-db
  libgtest-dev libgmock-dev libbenchmark-dev
  libxcb1-dev fonts-liberation fonts-dejavu-core
  xvfb xauth xdotool xclip x11-utils imagemagick faketime
  weston qt6-wayland wl-clipboard
  desktop-file-utils appstream libglib2.0-bin dpkg-dev file binutils-mingw-w64-x86-64
  dbus dbus-daemon at-spi2-core python3-pyatspi orca
  g++-mingw-w64-x86-64-posix googletest wine wine64
  wixl msitools
)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -eq 0 ]; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
  elif command -v sudo >/dev/null; then
    sudo apt-get update -qq
    sudo DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
  else
    echo "Missing packages: ${missing[*]}; install them as root." >&2
    exit 1
  fi
fi

build="${1:-build}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE="${2:-Release}" "${@:3}" >/dev/null
cmake --build "$build" -j"$(nproc)"
