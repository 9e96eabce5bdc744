#!/usr/bin/env bash
# Cross-builds the logic libraries and their tests for Windows with mingw-w64
# and runs the tests under wine when it is installed.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" -eq 0 ] && ! command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq g++-mingw-w64-x86-64-posix googletest
fi
cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DSELENIAL_UI=OFF -DSELENIAL_GTEST_SOURCE=/usr/src/googletest >/dev/null
cmake --build build-windows -j"$(nproc)"
if command -v wine >/dev/null; then
  export WINEDEBUG=-all WINEPREFIX="$PWD/build-windows/wineprefix"
  ctest --test-dir build-windows --output-on-failure
else
  echo "wine is not installed: built, not run"
fi
