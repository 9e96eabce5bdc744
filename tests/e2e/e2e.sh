#!/usr/bin/env bash
# The real program in a real X server: StarDate caption, the window class that
# matches the desktop entry, time stamp on the X clipboard, the offset setup by
# keyboard, and the calculator.
set -euo pipefail
program="$(realpath "$1")"
entry="$(realpath "$2")"  # the desktop entry
for tool in Xvfb xdotool xclip xprop; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

work="$(mktemp -d)"
cleanup() {
  kill "${app:-}" "${xvfb:-}" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

source "$(dirname "$0")/x11.sh"
start_xvfb

cd "$work"
TZ=UTC "$program" >"$work/app.log" 2>&1 &
app=$!

main=$(wait_window '^ini:  0$')
# Docks and task switchers match the window to its desktop entry by the window's class.
class=$(xprop -id "$main" WM_CLASS | sed -n 's/.*, "\(.*\)"$/\1/p')
[ "$class" = "$(sed -n 's/^StartupWMClass=//p' "$entry")" ] || fail "the window's class '$class' is not the entry's StartupWMClass"
sleep 1.5
title=$(xdotool getwindowname "$main")
is_present 0 "$title" || fail "caption '$title' is not the present StarDate $(stardate "$(starsecs 0)")"
echo "caption: '$title'"
# Neither the window icon nor the menu bar decodes an image file at start.
if plugins=$(grep -o '[^/]*/imageformats/[^ ]*' /proc/"$app"/maps); then
  fail "image plugins loaded at start: $(echo "$plugins" | sort -u | tr '\n' ' ')"
fi

xdotool windowfocus --sync "$main"
xdotool key Return
sleep 0.3
# Label5 index 0 sits at 3000,120 twips in the client area, below the menu bar.
height=$(xdotool getwindowgeometry "$main" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\).*/\1/p')
menu=$((height - 184))
xdotool mousemove --window "$main" 300 $((menu + 16)) click 1
sleep 0.3
check_stamp

xdotool key alt+s
sleep 0.3
xdotool type --delay 30 3600
sleep 0.3
[ "$(od -An -c Selenial.ini | tr -s ' ')" = " 3 6 0 0 \r \n" ] || fail "Selenial.ini holds $(od -An -c Selenial.ini)"
sleep 1.2
title=$(xdotool getwindowname "$main")
is_present 3600 "$title" || fail "caption '$title' does not follow the offset 3600"
echo "caption with offset 3600: '$title'"

xdotool key alt+c
calc=$(wait_window '^Vantrel$')
xdotool windowfocus --sync "$calc"
sleep 0.3
# DeciVal at 3600,5160 twips and CoSci at 3600,5880 in the calculator's client area.
xdotool mousemove --window "$calc" 300 353 click --repeat 3 1
xdotool key ctrl+a
xdotool type --delay 30 86400
sleep 0.2
xdotool mousemove --window "$calc" 300 401 click 1
sleep 0.3
result=$(clipboard)
[ "$result" = "+ 1.518 posi-4" ] || fail "calculator copied '$result'"
echo "calculator copied: '$result'"

kill -0 "$app" || fail "the program died"
echo "1 passed, 0 failed"
