#!/usr/bin/env bash
# How closely the Windows program's title follows the true second under wine: the
# cross-built program in a scratch wine prefix, measured as bench/measure_tick.sh
# measures the Linux one (median, p99, max; seconds skipped or shown twice).
# Usage: bench/measure_wine_tick.sh [seconds] [program.exe]   (default 300, the x86_64 Release build here)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-300}"
program="${2:-}"
if [ -z "$program" ]; then
  build="$PWD/build-windows-x86_64"
  [ -f "$build/CMakeCache.txt" ] ||
    cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
      -DSELENIAL_TESTS=OFF >/dev/null
  cmake --build "$build" -j2 --target selenial >/dev/null
  program="$build/src/selenial.exe"
fi
program="$(realpath "$program")"

work="$(mktemp -d)"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all DBUS_SESSION_BUS_ADDRESS=unix:path=/dev/null
export WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() { wineserver -k 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
timeout 180 wineboot -i >/dev/null 2>&1
# Wine's desktop process, started with the prefix and without a display, must be gone
# before the run: the program's windows would go nowhere.
wineserver -w
# The loader itself, so that the window's process is the one started.
bench/measure_tick.sh "$seconds" /usr/lib/wine/wine64 "$program"
