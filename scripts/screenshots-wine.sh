#!/usr/bin/env bash
# Screenshots of the Windows program under wine: the three clock views and both
# calculator pages, in wine's own desktop window so that the title bars show.
# Usage: scripts/screenshots-wine.sh [output folder] [dots per inch]   (default: shots-wine 96)
set -euo pipefail
cd "$(dirname "$0")/.."
out="$(mkdir -p "${1:-shots-wine}" && cd "${1:-shots-wine}" && pwd)"
dpi="${2:-96}"
build="$PWD/build-windows-x86_64"
# The program alone: its tests would need GoogleTest built for Windows too.
[ -f "$build/CMakeCache.txt" ] ||
  cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
    -DSELENIAL_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target selenial >/dev/null

work="$(mktemp -d)"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all DBUS_SESSION_BUS_ADDRESS=unix:path=/dev/null TZ=UTC
export WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() { wineserver -k 2>/dev/null || true; kill "${xvfb:-}" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
exec 3>"$work/display"
Xvfb -displayfd 3 -noreset -screen 0 1400x1000x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"
wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1

mkdir "$work/run" && cd "$work/run"
wine explorer /desktop=shots,1300x950 "$build/src/selenial.exe" >/dev/null 2>&1 &
window() { until id=$(xdotool search --name "$1" 2>/dev/null | head -n1) && [ -n "$id" ]; do sleep 0.1; done; echo "$id"; }
main=$(window '^(ini: | [+-] )')
desktop=$(window '^shots - Wine desktop$')
sleep 1.5
shoot() {
  local geometry
  geometry=$(xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
                                    /Width/{w=$2} /Height/{h=$2} END{print w"x"h"+"x"+"y}')
  import -window root -crop "$geometry" "$out/$2.png"
}
xdotool windowfocus --sync "$desktop"
# Wine's desktop keeps the focus at first: a click on a bare spot of the clock takes it there.
read -r left top < <(xwininfo -id "$main" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{print x, $4}')
xdotool mousemove --sync $((left + dpi * 400 / 96)) $((top + dpi * 150 / 96)) click 1
shoot "$main" about
xdotool key Return; sleep 0.4; shoot "$main" clock
xdotool key alt+s; sleep 0.4; shoot "$main" setup
xdotool key alt+c
calc=$(window '^Vantrel$')
sleep 0.5
# Focus starts on Close; Tab leads to the input box.
xdotool key Tab
xdotool type --delay 20 86400
sleep 0.3; shoot "$calc" calculator-intro
xdotool key Tab Tab space; sleep 0.4; shoot "$calc" calculator-essays
echo "screenshots in $out"
