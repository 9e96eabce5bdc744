#!/usr/bin/env bash
# Screenshots of the three clock views and both calculator pages under Xvfb.
# Usage: scripts/screenshots.sh [output folder] [scale factor]   (default: shots 1)
set -euo pipefail
cd "$(dirname "$0")/.."
out="$(mkdir -p "${1:-shots}" && cd "${1:-shots}" && pwd)"
scale="${2:-1}"
program="$PWD/build/src/selenial"
[ -x "$program" ] || scripts/setup.sh >/dev/null

work="$(mktemp -d)"
cleanup() { kill "${app:-}" "${xvfb:-}" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1400x1000x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"

cd "$work"
QT_SCALE_FACTOR="$scale" TZ=UTC "$program" >/dev/null 2>&1 &
app=$!
until main=$(xdotool search --name '^ini: ' 2>/dev/null | head -n1) && [ -n "$main" ]; do sleep 0.1; done
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
until calc=$(xdotool search --name '^Vantrel$' 2>/dev/null | head -n1) && [ -n "$calc" ]; do sleep 0.1; done
sleep 0.5
xdotool windowfocus --sync "$calc"
# Focus starts on Close; Tab leads to the input box.
xdotool key Tab ctrl+a
xdotool type --delay 20 86400
sleep 0.3; shoot "$calc" calculator-intro
xdotool key Tab Tab space; sleep 0.4; shoot "$calc" calculator-essays
echo "screenshots in $out"
