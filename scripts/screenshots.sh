#!/usr/bin/env bash
# Screenshots of the three clock views and both calculator pages under Xvfb.
# Usage: scripts/screenshots.sh [output folder] [scale factor]   (default: shots 1)
set -euo pipefail
source "$(dirname "$0")/lib.sh"
out="$(mkdir -p "${1:-shots}" && cd "${1:-shots}" && pwd)"
scale="${2:-1}"
program="$selenial_source/build/src/selenial"
[ -x "$program" ] || build release >/dev/null
make_work
at_exit 'kill "${app:-}"'
start_xvfb 1400x1000x24

cd "$work"
QT_SCALE_FACTOR="$scale" TZ=UTC "$program" >/dev/null 2>&1 &
app=$!
main=$(wait_window '^ini: ')
sleep 1.5
shoot() {
  local geometry
  geometry=$(xdotool getwindowgeometry "$1" | awk '/Position/{split($2,p,",")} /Geometry/{print $2"+"p[1]"+"p[2]}')
  import -window root -crop "$geometry" "$out/$2.png"
}
xdotool windowfocus --sync "$main"
shoot "$main" about
xdotool key Return; sleep 0.4; shoot "$main" clock
xdotool key alt+s; sleep 0.4; shoot "$main" setup
xdotool key alt+c
calc=$(wait_window '^Vantrel$')
sleep 0.5
xdotool windowfocus --sync "$calc"
# Focus starts on Close; Tab leads to the input box.
xdotool key Tab ctrl+a
xdotool type --delay 20 86400
sleep 0.3; shoot "$calc" calculator-intro
xdotool key Tab Tab space; sleep 0.4; shoot "$calc" calculator-essays
echo "screenshots in $out"
