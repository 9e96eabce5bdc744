#!/usr/bin/env bash
# The real program under a Wayland compositor (weston in Xvfb): the application
# id, the title bar that follows the caption while nothing else repaints, a time
# stamp where wl-paste reads it, and "&Calculator" bringing the calculator back
# to the front from behind the clock.
set -euo pipefail
program="$(realpath "$1")"
app_id="$(basename "$2" .desktop)"  # the desktop entry
source "$(dirname "$0")/x11.sh"
needs Xvfb weston xdotool import convert wl-paste
make_work
at_exit 'kill "${app:-}" "${weston:-}"'
start_xvfb

export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
# No panel clock, animation or on-screen keyboard changes the screen but the program.
printf '[core]\nidle-time=0\n[shell]\npanel-position=none\nanimation=none\nstartup-animation=none\n[input-method]\npath=\n' \
  >"$work/weston.ini"
weston --backend=x11-backend.so --use-pixman --width=800 --height=600 --socket=selenial --idle-time=0 \
  --config="$work/weston.ini" >"$work/weston.log" 2>&1 &
weston=$!
poll 100 test -S "$XDG_RUNTIME_DIR/selenial" || fail "weston did not start: $(tail -n3 "$work/weston.log")"
compositor() { xdotool search --class '^Weston Compositor$' 2>/dev/null | head -n1; }
poll 100 test -n "$(compositor)" || fail "weston has no window"
xdotool windowfocus --sync "$(compositor)"

mkdir "$work/run" && cd "$work/run"
log="$work/app.log"
WAYLAND_DEBUG=1 QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=selenial env -u DISPLAY "$program" >/dev/null 2>"$log" &
app=$!

# The program's requests, as WAYLAND_DEBUG writes them.
sent() { grep -q -F -- "$1" "$log"; }
titles() { grep -o 'set_title(" [+-] [^"]*")' "$log" | sed 's/^set_title("//; s/")$//'; }
# The surface of the newest window titled $1.
surface_titled() {
  local toplevel xdg
  toplevel=$(grep -o "xdg_toplevel@[0-9]*\.set_title(\"$1" "$log" | tail -n1 | cut -d. -f1)
  xdg=$(grep -o "xdg_surface@[0-9]*\.get_toplevel(new id $toplevel)" "$log" | tail -n1 | cut -d. -f1)
  grep -o "get_xdg_surface(new id $xdg, wl_surface@[0-9]*)" "$log" | tail -n1 | grep -o 'wl_surface@[0-9]*'
}
focused() { grep -o 'wl_keyboard@[0-9]*\.enter([0-9]*, wl_surface@[0-9]*' "$log" | tail -n1 | grep -o 'wl_surface@[0-9]*'; }
has_focus() { [ "$(focused)" = "$(surface_titled "$1")" ]; }
windows_titled() { grep -c "xdg_toplevel@[0-9]*\.set_title(\"$1\")" "$log"; }
started() {
  grep -q 'Could not find the Qt platform plugin "wayland"' "$log" && { echo "SKIP: no Qt wayland platform"; exit 77; }
  kill -0 "$app" 2>/dev/null || fail "the program ended: $(tail -n3 "$log")"
  [ -n "$(titles)" ]
}
shot() { import -window root "$work/$1.png"; }
# The bounding box, WxH+X+Y, of the pixels that differ between two shots.
changed() { convert "$work/$1.png" "$work/$2.png" -compose difference -composite -threshold 0 -format '%@' info: 2>/dev/null; }
differs() { shot now && [[ "$(changed first now)" != 0x0* ]]; }
# The first pixel in sight of colour $2 in shot $1, as "x y".
first_pixel() { convert "$work/$1.png" -fill black +opaque "$2" txt:- | grep -m1 -F "$2" | cut -d: -f1 | tr , ' '; }

poll 100 started || fail "no StarDate caption"
sent "set_app_id(\"$app_id\")" || fail "the application id is not $app_id: $(grep -o 'set_app_id([^)]*)' "$log")"
echo "application id: $app_id"

# The About view: only the title bar can change, and it must follow the caption.
shot first
poll 100 differs || fail "the title bar kept its text while the caption went on: $(titles | tail -n2 | tr '\n' ' ')"
box=$(changed first now)
height=${box#*x}
height=${height%%+*}
((height <= 30)) || fail "more than the title bar changed in the About view: $box"
echo "title bar repainted with the caption: $box"

# The clock view; a click on the StarDate puts it where wl-paste reads it.
xdotool key Return
stardate_label() { shot clock && read -r left top < <(first_pixel clock '#000040'); }
poll 100 stardate_label || fail "the StarDate value is not in sight after OK"
# The pointer must enter weston's window before it clicks.
xdotool mousemove 900 700 sleep 0.1 mousemove $((left + 20)) $((top + 8)) sleep 0.1 click 1
pasted() { paste=$(WAYLAND_DISPLAY=selenial wl-paste -n 2>/dev/null) && [ "${paste:0:2}" = "  " ] && titles | grep -qxF -- "${paste:2}"; }
poll 100 pasted || fail "wl-paste read '${paste:-}', not a StarDate the program showed"
echo "time stamp: '$paste'"

# The calculator, put behind the clock, comes back to the front with Alt+C. (It has no
# minimize button on weston; the window tests bring back a minimized one.)
raise_clock() {
  shot behind
  read -r x y < <(first_pixel behind '#0000C0') || fail "no part of the clock is in sight"
  xdotool mousemove "$x" "$y" sleep 0.1 click 1
  poll 100 has_focus ' ' || fail "the clock did not take the keyboard"
}
raise_clock
xdotool key alt+c
poll 100 has_focus Vantrel || fail "the calculator did not open with the keyboard"
raise_clock
xdotool key alt+c
poll 100 has_focus Vantrel || fail "Alt+C left the calculator behind the clock"
echo "calculator back in front: window $(windows_titled Vantrel) of its name"

kill -0 "$app" || fail "the program died"
echo "1 passed, 0 failed"
