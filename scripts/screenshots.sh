#!/usr/bin/env bash
# Screenshots of the three clock views and both calculator pages under Xvfb: of the Linux
# program, or with --wine of the Windows one, in wine's own desktop window so that the
# title bars show.
# Usage: scripts/screenshots.sh [--wine] [output folder] [scale factor, with --wine dots per inch]
#        (default: shots 1, with --wine shots-wine 96)
set -euo pipefail
source "$(dirname "$0")/lib.sh"
wine=""
if [ "${1:-}" = --wine ]; then wine=yes; shift; fi
out="${1:-shots${wine:+-wine}}"
out="$(mkdir -p "$out" && cd "$out" && pwd)"
if [ -n "$wine" ]; then
  dpi="${2:-96}"
  build windows-x86_64 --target selenial >/dev/null
else
  scale="${2:-1}"
  program="$selenial_source/build/src/selenial"
  [ -x "$program" ] || build release >/dev/null
fi
make_work
at_exit 'kill "${app:-}"'
export TZ=UTC
start_xvfb 1400x1000x24

mkdir "$work/run" && cd "$work/run"
if [ -n "$wine" ]; then
  start_wine
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wine explorer /desktop=shots,1300x950 "$selenial_source/build-windows-x86_64/src/selenial.exe" >/dev/null 2>&1 &
  main=$(wait_window '^(ini: | [+-] )')
  desktop=$(wait_window '^shots - Wine desktop$')
else
  QT_SCALE_FACTOR="$scale" "$program" >/dev/null 2>&1 &
  app=$!
  main=$(wait_window '^ini: ')
fi
sleep 1.5
# The window's place on the screen: left top, width height.
place() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
                           /Width/{w=$2} /Height/{h=$2} END{print x, y, w, h}'
}
shoot() {
  local left top width height
  read -r left top width height < <(place "$1")
  import -window root -crop "${width}x$height+$left+$top" "$out/$2.png"
}
if [ -n "$wine" ]; then
  xdotool windowfocus --sync "$desktop"
  # Wine's desktop keeps the focus at first: a click on a bare spot of the clock takes it there.
  read -r left top _ < <(place "$main")
  xdotool mousemove --sync $((left + dpi * 400 / 96)) $((top + dpi * 150 / 96)) click 1
else
  xdotool windowfocus --sync "$main"
fi
shoot "$main" about
xdotool key Return; sleep 0.4; shoot "$main" clock
xdotool key alt+s; sleep 0.4; shoot "$main" setup
xdotool key alt+c
calc=$(wait_window '^Vantrel$')
sleep 0.5
[ -n "$wine" ] || xdotool windowfocus --sync "$calc"
# Focus starts on Close; Tab leads to the input box (under wine its text selected).
xdotool key Tab
[ -n "$wine" ] || xdotool key ctrl+a
xdotool type --delay 20 86400
sleep 0.3; shoot "$calc" calculator-intro
xdotool key Tab Tab space; sleep 0.4; shoot "$calc" calculator-essays
echo "screenshots in $out"
