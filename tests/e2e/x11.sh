# shellcheck shell=bash
# What the end-to-end tests that drive a program in Xvfb share, besides scripts/lib.sh
# (fail, poll, needs, make_work, start_xvfb, start_wine). Sourced.
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib.sh"

clipboard() { xclip -o -selection clipboard 2>/dev/null || true; }
# Fails unless the clipboard holds a time stamp: two blanks and the present StarDate.
check_stamp() {
  local stamp
  stamp=$(clipboard)
  [ "${stamp:0:2}" = "  " ] || fail "time stamp '$stamp' lacks its two blanks"
  is_present 0 "${stamp:2}" || fail "time stamp '$stamp' is not the present StarDate"
  echo "time stamp: '$stamp'"
}

# The StarDate of a count, as the program writes it.
stardate() {
  local n=$1 sign=' + ' hex
  if ((n < 0)); then sign=' - '; n=$((-n)); fi
  hex=$(printf '%05X' "$n")
  printf '%s%4s.%s' "$sign" "${hex:0:${#hex}-4}" "${hex: -4}"
}
# Seconds since the epoch for an offset, from the system clock alone.
starsecs() { echo $(($(date -u +%s) + 14182937 - $1)); }
# True when $2 is the StarDate of the present moment (give or take a tick) for offset $1.
is_present() {
  local now
  now=$(starsecs "$1")
  for n in $((now - 2)) $((now - 1)) "$now" $((now + 1)); do
    [ "$2" = "$(stardate "$n")" ] && return 0
  done
  return 1
}

# title_is_present OFFSET WINDOW: whether the window's title is the present StarDate for the offset.
title_is_present() { is_present "$1" "$(xdotool getwindowname "$2" 2>/dev/null)"; }
# wait_present OFFSET WINDOW WHAT: waits until the title is the present StarDate for the offset.
wait_present() {
  poll 100 title_is_present "$1" "$2" ||
    fail "$3: the caption '$(xdotool getwindowname "$2")' is not the present StarDate $(stardate "$(starsecs "$1")")"
  echo "$3: '$(xdotool getwindowname "$2")'"
}
# click_until CHECK XDOTOOL-ARGS...: puts a marker on the clipboard, then clicks as the
# arguments say (e.g. mousemove --window W X Y) until CHECK succeeds; fails after 30 s.
click_until() {
  local check=$1
  shift
  echo marker | xclip -i -selection clipboard
  poll 50 test "$(clipboard)" = marker || fail "xclip cannot set the clipboard"
  for _ in $(seq 30); do
    xdotool "$@" click 1
    poll 10 "$check" && return 0
  done
  fail "clicks at $* never made '$check' true; the clipboard holds '$(clipboard)'"
}
# Empty while its new owner has taken the selection but not yet given its text.
clipboard_changed() { local text; text=$(clipboard); [ -n "$text" ] && [ "$text" != marker ]; }
# copy_stardate_label WINDOW: OK on the About view, then a click on the StarDate value
# (Label5 index 0, at 3000,120 twips in the client area below the menu bar), the time stamp
# on the clipboard.
copy_stardate_label() {
  local height
  xdotool windowfocus --sync "$1"
  xdotool key Return
  height=$(xdotool getwindowgeometry "$1" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\).*/\1/p')
  click_until clipboard_changed mousemove --window "$1" 300 $((height - 184 + 16))
}

# start_tray TRAYER-ARGS...: openbox, a small real window manager, and trayer's XEmbed tray
# at the screen's top right (pids $wm and $tray).
start_tray() {
  openbox >"$work/openbox.log" 2>&1 &
  wm=$!
  at_exit 'kill "$wm" 2>/dev/null'
  poll 100 xprop -root _NET_SUPPORTING_WM_CHECK >/dev/null 2>&1 || fail "openbox did not start"
  trayer --edge top --align right "$@" >"$work/trayer.log" 2>&1 &
  tray=$!
  at_exit 'kill "$tray" 2>/dev/null'
  poll 100 eval '[ -n "$(tray_panel)" ]' || fail "trayer did not start"
}
tray_panel() { xwininfo -root -tree | awk '/"panel": \("panel" "trayer"\)/ && !found { print $1; found = 1 }'; }
# tray_icon CLASS: the window of that class (as xwininfo writes it) docked in trayer's panel.
tray_icon() { xwininfo -tree -id "$(tray_panel)" | awk -v class="$1" 'index($0, class) && !found { print $1; found = 1 }'; }
# click_tray_icon CLASS BUTTON
# shellcheck disable=SC2046
click_tray_icon() { xdotool mousemove $(corner "$(tray_icon "$1")" 8 8) click "$2"; }
mapped() { xwininfo -id "$1" | grep -q 'Map State: IsViewable'; }
# corner WINDOW [DX DY]: its top left corner on the screen, moved by DX and DY.
corner() { xwininfo -id "$1" | awk -v dx="${2:-0}" -v dy="${3:-0}" '/Absolute upper-left X/ { x = $4 + dx } /Absolute upper-left Y/ { y = $4 + dy } END { print x, y }'; }
above() { xprop -id "$1" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_ABOVE; }
# menu_up COUNT OPEN...: runs OPEN, a command that opens a menu, and waits until COUNT, a
# command that counts the program's shown windows, counts one more. Keys typed before the
# menu is up would reach the window.
menu_up() {
  local count=$1 before
  shift
  before=$("$count")
  "$@"
  poll 100 eval '[ "$("$count")" -gt "$before" ]'
}
# icon_toggles WINDOW: a click on the icon (click_icon BUTTON, the script's own) hides the
# window in front, and the next shows it again.
icon_toggles() {
  local window=$1
  click_icon 1
  poll 100 eval '! mapped "$window"' || fail "a click on the icon did not hide the window in front"
  # Past the double-click time: a second click within it is a double click.
  sleep 0.6
  click_icon 1
  poll 100 mapped "$window" || fail "a second click on the icon did not show the window again"
}
