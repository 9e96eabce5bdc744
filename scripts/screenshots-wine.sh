#!/usr/bin/env bash
# Screenshots of the Windows program under wine: the three clock views and both
# calculator pages, in wine's own desktop window so that the title bars show.
# Usage: scripts/screenshots-wine.sh [output folder] [dots per inch]   (default: shots-wine 96)
set -euo pipefail
source "$(dirname "$0")/lib.sh"
out="$(mkdir -p "${1:-shots-wine}" && cd "${1:-shots-wine}" && pwd)"
dpi="${2:-96}"
build windows-x86_64 --target selenial >/dev/null
make_work
export TZ=UTC
start_xvfb 1400x1000x24
start_wine
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1

mkdir "$work/run" && cd "$work/run"
wine explorer /desktop=shots,1300x950 "$selenial_source/build-windows-x86_64/src/selenial.exe" >/dev/null 2>&1 &
main=$(wait_window '^(ini: | [+-] )')
desktop=$(wait_window '^shots - Wine desktop$')
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
calc=$(wait_window '^Vantrel$')
sleep 0.5
# Focus starts on Close; Tab leads to the input box.
xdotool key Tab
xdotool type --delay 20 86400
sleep 0.3; shoot "$calc" calculator-intro
xdotool key Tab Tab space; sleep 0.4; shoot "$calc" calculator-essays
echo "screenshots in $out"
