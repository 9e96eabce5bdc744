#!/usr/bin/env bash
# The real program in a real X server: StarDate caption, the window class that
# matches the desktop entry, time stamp on the X clipboard, the offset setup by
# keyboard, and the calculator.
set -euo pipefail
program="$(realpath "$1")"
entry="$(realpath "$2")"  # the desktop entry
source "$(dirname "$0")/x11.sh"
needs Xvfb xdotool xclip xprop
make_work
at_exit 'kill "${app:-}"'
start_xvfb

cd "$work"
TZ=UTC "$program" >"$work/app.log" 2>&1 &
app=$!

main=$(wait_window '^ini:  0$')
# Docks and task switchers match the window to its desktop entry by the window's class.
class=$(xprop -id "$main" WM_CLASS | sed -n 's/.*, "\(.*\)"$/\1/p')
[ "$class" = "$(sed -n 's/^StartupWMClass=//p' "$entry")" ] || fail "the window's class '$class' is not the entry's StartupWMClass"
wait_present 0 "$main" caption
# Neither the window icon nor the menu bar decodes an image file at start.
if plugins=$(grep -o '[^/]*/imageformats/[^ ]*' /proc/"$app"/maps); then
  fail "image plugins loaded at start: $(echo "$plugins" | sort -u | tr '\n' ' ')"
fi

copy_stardate_label "$main"
check_stamp

xdotool key alt+s
xdotool type --delay 30 3600
poll 100 file_holds Selenial.ini " 3 6 0 0 \r \n" || fail "Selenial.ini holds $(od -An -c Selenial.ini)"
wait_present 3600 "$main" "caption with offset 3600"

xdotool key alt+c
calc=$(wait_window '^Vantrel$')
xdotool windowfocus --sync "$calc"
# DeciVal at 3600,5160 twips and CoSci at 3600,5880 in the calculator's client area.
xdotool mousemove --window "$calc" 300 353 click --repeat 3 1
xdotool key ctrl+a
xdotool type --delay 30 86400
copied() { [ "$(clipboard)" = "+ 1.518 posi-4" ]; }
click_until copied mousemove --window "$calc" 300 401
echo "calculator copied: '$(clipboard)'"

kill -0 "$app" || fail "the program died"
echo "1 passed, 0 failed"
