#!/usr/bin/env bash
# The clock at hand. X11 (openbox, trayer's XEmbed tray): the icon docks and toggles the
# window, "Always on top" sets the above state, the autostart entry comes and goes, a
# moved window opens there again. Wayland (headless sway, waybar): the StatusNotifierItem
# is registered, its tool tip holds the present StarDate, its Activate hides and shows the
# window, and its menu's "Copy time stamp" copies the stamp the stardate command gives.
set -euo pipefail
program="$(realpath "$1")" stardate="$(realpath "$2")"
source "$(dirname "$0")/x11.sh"
needs Xvfb xdotool xwininfo xprop import openbox trayer desktop-file-validate sway waybar dbus-run-session gdbus swaymsg jq wtype wl-paste
make_work
at_exit 'kill "${app:-}" "${login:-}"'
start_xvfb
# No StatusNotifierWatcher on this bus: Qt docks in the X tray.
export DBUS_SESSION_BUS_ADDRESS=unix:path=/dev/null XDG_CONFIG_HOME="$work/config" TZ=UTC
start_tray --widthtype request

mkdir "$work/run" && cd "$work/run"
# start_clock: the clock in this folder, $main its window, once its caption is a StarDate.
start_clock() {
  "$program" >>"$work/app.log" 2>&1 &
  app=$!
  main=$(wait_window '^ini:  0$')
  poll 100 sh -c "xdotool getwindowname $main | grep -q '\\.'" || fail "no StarDate in the caption"
}
ended() { ! kill -0 "$app" 2>/dev/null; }
# The icon: the clock's window docked inside trayer's panel.
icon() { tray_icon '("selenial" "Selenial")'; }
click_icon() { click_tray_icon '("selenial" "Selenial")' "$1"; }
shown() { xdotool search --onlyvisible --class Selenial 2>/dev/null | wc -l; }
# An entry chosen by keys in the icon's menu or the Window menu, once the menu is up:
# keys typed before would reach the window.
choose() {
  if [ "$1" = icon ]; then menu_up shown click_icon 3; else menu_up shown xdotool windowfocus --sync "$main" key alt+w; fi ||
    fail "the $1 menu did not open"
  shift
  xdotool key "$@" Return
}

start_clock
poll 100 eval '[ -n "$(icon)" ]' || fail "the icon did not dock in trayer: $(xwininfo -root -tree | grep -A3 panel)"
echo "docked: $(icon) in trayer's panel"
# Its tool tip, once up, follows the seconds while the pointer rests on the icon.
# shellcheck disable=SC2046
xdotool mousemove $(corner "$(icon)" 8 8) mousemove $(corner "$(icon)" 9 9)
# The clock's shown window that is neither its main window nor its icon.
tip() { xdotool search --onlyvisible --class Selenial 2>/dev/null | grep -vx -e "$main" -e "$(($(icon)))" | head -n1; }
poll 100 eval '[ -n "$(tip)" ]' || fail "no tool tip over the icon"
shot() { import -window "$(tip)" "ppm:$work/$1.ppm"; }
# Drawn, it holds still for a moment; then the next second shows in it.
poll 50 eval 'shot tip && shot tip-now && cmp -s "$work/tip.ppm" "$work/tip-now.ppm"' || fail "the icon's tool tip was never drawn whole"
poll 50 eval 'shot tip-now && ! cmp -s "$work/tip.ppm" "$work/tip-now.ppm"' || fail "the icon's tool tip stood still"
echo "the icon's tool tip, shown, changed with the seconds"
icon_toggles "$main"
echo "a click hides the window in front, the next shows it"

# "Always on top", the fourth entry of the icon's menu. The window is made anew.
choose icon Down Down Down Down
poll 100 eval 'above "$(xdotool search --name "^ [+-] " | head -n1)"' || fail "Always on top did not set _NET_WM_STATE_ABOVE"
grep -qx 'on-top=on' Selenial.conf || fail "on-top=on is not kept: $(cat Selenial.conf)"
echo "Always on top: _NET_WM_STATE_ABOVE"

# Start at login: the autostart entry, valid, made and taken away by the Window menu.
entry="$XDG_CONFIG_HOME/autostart/org.vantrel.selenial.desktop"
main=$(xdotool search --name '^ [+-] ' | head -n1)
choose window Down
poll 100 test -f "$entry" || fail "Start at login made no $entry"
desktop-file-validate "$entry" || fail "the autostart entry is not valid"
grep -q '^Exec=sh -c .*exec selenial"$' "$entry" || fail "the autostart entry does not start the clock as the menu does"
# Started as the desktop starts it at login (gio runs the entry's Exec line), in a home of
# its own: its window comes, and it keeps Selenial.ini where the applications menu's entry does.
mkdir -p "$work/bin" "$work/home"
ln -sf "$program" "$work/bin/selenial"
(cd "$work/home" && env -i PATH="$work/bin:/usr/bin:/bin" HOME="$work/home" XDG_CONFIG_HOME="$XDG_CONFIG_HOME" \
  DISPLAY="$DISPLAY" DBUS_SESSION_BUS_ADDRESS=unix:path=/dev/null TZ=UTC gio launch "$entry" >"$work/gio.log" 2>&1) ||
  fail "gio could not launch the autostart entry: $(cat "$work/gio.log")"
# The clock so started (beside the one at work here), and its window before its first
# second (caption "ini: ...") or after. Other tests run the same program at the same
# time on X servers of their own: only a clock on this one counts.
login=""
other_clock() {
  local proc
  for proc in /proc/[0-9]*; do
    [ "$(readlink "$proc/exe" 2>/dev/null)" = "$program" ] && [ "${proc#/proc/}" != "$app" ] &&
      tr '\0' '\n' <"$proc/environ" 2>/dev/null | grep -qx "DISPLAY=$DISPLAY" && echo "${proc#/proc/}"
  done
  return 0
}
poll 100 eval 'login=$(other_clock | head -n1); [ -n "$login" ]' || fail "the autostart entry started no clock: $(cat "$work/gio.log")"
poll 300 eval '[ -n "$(xdotool search --all --onlyvisible --pid "$login" --name "^(ini: | [+-] )" 2>/dev/null)" ]' ||
  fail "the clock started at login showed no window: $(cat "$work/gio.log")"
[ "$(readlink "/proc/$login/cwd")" = "$(realpath "$XDG_CONFIG_HOME/selenial")" ] || fail "started at login, it works in $(readlink "/proc/$login/cwd")"
poll 100 test -f "$XDG_CONFIG_HOME/selenial/Selenial.ini" || fail "started at login, it kept no $XDG_CONFIG_HOME/selenial/Selenial.ini"
stray=$(find "$work/home" "$work/run" -name Selenial.ini ! -path "$work/run/Selenial.ini")
[ -z "$stray" ] || fail "started at login, it kept Selenial.ini in $stray"
kill "$login"
poll 100 eval '[ -z "$(other_clock)" ]' || fail "the clock started at login did not end"
echo "Start at login: gio launched $entry, a clock window came, Selenial.ini in $XDG_CONFIG_HOME/selenial"
choose window Down
poll 100 eval '! test -e "$entry"' || fail "Start at login, turned off, left $entry"
echo "Start at login: $entry made, valid, and taken away"

# Moved, ended by the icon's Quit (the last entry), and opened there again.
xdotool windowmove "$main" 333 222
poll 50 sh -c "xwininfo -id $main | grep -q 'Absolute upper-left Y: *2[2-4][0-9]'" || fail "the window did not move"
at=$(corner "$main")
choose icon Up
poll 100 ended || fail "the icon's Quit did not end the program"
grep -qx "position=${at/ /,}" Selenial.conf || fail "the place $at is not kept: $(cat Selenial.conf)"
start_clock
again=$(corner "$main")
[ "$again" = "$at" ] || fail "the window opened at $again, not where it was ($at)"
echo "moved, quit, and opened there again (client area at $again)"

# Hidden by a click on the icon and ended by its Quit: the next start shows only the icon,
# whose click brings the window; ended shown, it is kept shown.
poll 300 eval '[ -n "$(icon)" ]' || fail "the icon did not dock again"
click_icon 1
poll 100 eval '! mapped "$main"' || fail "a click on the icon did not hide the window"
choose icon Up
poll 100 ended || fail "the icon's Quit did not end the program"
grep -qx 'window=hidden' Selenial.conf || fail "ended hidden, it kept no window=hidden: $(cat Selenial.conf)"
"$program" >>"$work/app.log" 2>&1 &
app=$!
poll 300 eval '[ -n "$(icon)" ]' || fail "started hidden, the icon did not dock"
clock_window() { xdotool search --all "$@" --pid "$app" --name '^(ini: | [+-] )' 2>/dev/null | head -n1; }
# Shown, the window is made (and asked to be mapped) before the icon can dock: never shown,
# it is not made at all.
[ -z "$(clock_window)" ] || fail "left hidden in the notification area, the window opened: $(clock_window)"
sleep 0.6
click_icon 1
poll 100 eval '[ -n "$(clock_window --onlyvisible)" ]' || fail "started hidden, a click on the icon did not show the window"
main=$(clock_window --onlyvisible)
echo "ended hidden, started with only the icon; a click showed the window"
xdotool windowfocus --sync "$main" key ctrl+q
poll 100 ended || fail "Ctrl+Q did not end the program"
! grep -q '^window=' Selenial.conf || fail "ended shown, it kept $(grep '^window=' Selenial.conf)"

# Wayland: a StatusNotifierItem in waybar's tray, under headless sway, as a user other than
# root (sway will not run as root), in a D-Bus session of its own.
kill "$app" "$tray" "$wm" 2>/dev/null || true
mkdir -m 700 "$work/runtime"
printf 'xwayland disable\n' >"$work/sway.conf"
printf '{ "modules-right": ["tray"], "tray": { "spacing": 4 } }\n' >"$work/waybar.json"
cat >"$work/wayland.sh" <<EOF
set -u
export XDG_RUNTIME_DIR="$work/runtime" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman TZ=UTC
# No accessibility bus for waybar: it would outlive the session.
export NO_AT_BRIDGE=1 GTK_A11Y=none
sway -c "$work/sway.conf" >"$work/sway.log" 2>&1 &
sway=\$!
for _ in \$(seq 200); do ls "\$XDG_RUNTIME_DIR"/wayland-* >/dev/null 2>&1 && break; sleep 0.1; done
export WAYLAND_DISPLAY=\$(basename "\$(ls "\$XDG_RUNTIME_DIR"/wayland-* | grep -v lock | head -n1)")
waybar -c "$work/waybar.json" >"$work/waybar.log" 2>&1 &
bar=\$!
# waybar's tray is the watcher: the clock comes once it is there.
gdbus wait --session --timeout 30 org.kde.StatusNotifierWatcher
cd "$work/run" && QT_QPA_PLATFORM=wayland env -u DISPLAY "$program" >"$work/wayland-app.log" 2>&1 &
clock=\$!
for _ in \$(seq 300); do
  item=\$(gdbus call --session -d org.kde.StatusNotifierWatcher -o /StatusNotifierWatcher -m org.freedesktop.DBus.Properties.Get \
    org.kde.StatusNotifierWatcher RegisteredStatusNotifierItems 2>/dev/null | grep -o "'[^']*'" | tr -d "'")
  [ -n "\$item" ] && break
  sleep 0.1
done
echo "item: \$item"
for _ in \$(seq 100); do
  tip=\$(gdbus call --session -d "\${item%%/*}" -o "/\${item#*/}" -m org.freedesktop.DBus.Properties.Get \
    org.kde.StatusNotifierItem ToolTip 2>/dev/null) && [[ \$tip == *StarDate* ]] && break
  sleep 0.1
done
echo "tooltip: \$tip"
echo "tooltip read at \$(date +%s)"
sni() { gdbus call --session -d "\${item%%/*}" -o "/\${item#*/}" -m "\$@"; }
export SWAYSOCK=\$(ls "\$XDG_RUNTIME_DIR"/sway-ipc.*.sock | head -n1)
# Whether sway shows the clock's window: hidden, it leaves the tree.
shown() { swaymsg -t get_tree | jq -e '[.. | objects | select(.app_id == "org.vantrel.selenial" and .visible)] | length > 0' >/dev/null; }
# wait_for TRIES COMMAND...: polls the command 0.1 s apart.
wait_for() { local tries=\$1; shift; for _ in \$(seq "\$tries"); do "\$@" && return 0; sleep 0.1; done; return 1; }
wait_for 300 shown && echo "window: shown"
sni org.kde.StatusNotifierItem.Activate 0 0 >/dev/null
wait_for 100 eval '! shown' && echo "Activate: hidden"
sni org.kde.StatusNotifierItem.Activate 0 0 >/dev/null
wait_for 100 shown && echo "Activate again: shown"
menu=\$(sni org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem Menu | grep -o "/[^']*")
layout=\$(gdbus call --session -d "\${item%%/*}" -o "\$menu" -m com.canonical.dbusmenu.GetLayout 0 'int32 -1' '@as []')
echo "layout: \$layout"
copy=\$(grep -o "([0-9]*, {[^}]*'label': <'Copy time stamp'>" <<<"\$layout" | grep -o '^([0-9]*' | tr -d '(')
echo "copy entry: \$copy"
# sway lets a program set the clipboard only after an input event of its own.
wtype -k Shift_L
gdbus call --session -d "\${item%%/*}" -o "\$menu" -m com.canonical.dbusmenu.Event "\$copy" "'clicked'" '<0>' 0 >/dev/null
stamp=""
wait_for 100 eval 'stamp=\$(wl-paste -n 2>/dev/null) && [ -n "\$stamp" ]'
echo "stamp: [\$stamp] at \$(date +%s)"
quit=\$(grep -o "([0-9]*, {[^}]*'label': <'Quit'>" <<<"\$layout" | grep -o '^([0-9]*' | tr -d '(')
gdbus call --session -d "\${item%%/*}" -o "\$menu" -m com.canonical.dbusmenu.Event "\$quit" "'clicked'" '<0>' 0 >/dev/null
wait_for 100 eval '! kill -0 \$clock 2>/dev/null' && echo "Quit: ended"
kill \$clock \$bar \$sway 2>/dev/null
wait
EOF
unshare --user --map-user=1000 --map-group=1000 dbus-run-session -- bash "$work/wayland.sh" >"$work/wayland.out" 2>&1 ||
  true
cat "$work/wayland.out"
grep -q '^item: .' "$work/wayland.out" || fail "no StatusNotifierItem was registered: $(tail -n 5 "$work/sway.log" "$work/wayland-app.log")"
tipdate=$(sed -n "s/^tooltip: .*StarDate\\( [+-] *[0-9A-F]*\\.[0-9A-F]\\{4\\}\\).*/\\1/p" "$work/wayland.out")
# near SECOND TEXT: whether the text is what the stardate command gives for the second, or one before.
near() {
  local n
  for n in $(($1 - 2)) $(($1 - 1)) "$1"; do [ "$2" = "$(TZ=UTC "$stardate" -a "@$n")" ] && return 0; done
  return 1
}
near "$(sed -n 's/^tooltip read at //p' "$work/wayland.out")" "$tipdate" ||
  fail "the item's tool tip holds no present StarDate: $(grep tooltip "$work/wayland.out")"
echo "Wayland: the StatusNotifierItem's tool tip holds the StarDate '$tipdate'"
grep -qx 'window: shown' "$work/wayland.out" || fail "sway did not show the clock's window: $(tail -n 5 "$work/wayland-app.log")"
grep -qx 'Activate: hidden' "$work/wayland.out" || fail "the item's Activate did not hide the window"
grep -qx 'Activate again: shown' "$work/wayland.out" || fail "a second Activate did not show the window again"
echo "Wayland: Activate hid the window, and showed it again"
grep -q "^layout: .*'enabled': <false>, 'label': <'Always on top'>" "$work/wayland.out" ||
  fail "Always on top is offered on Wayland: $(grep layout "$work/wayland.out")"
grep -q '^copy entry: [0-9]' "$work/wayland.out" || fail "no \"Copy time stamp\" in the item's menu: $(grep -A3 layout "$work/wayland.out")"
stamp=$(sed -n 's/^stamp: \[\(.*\)\] at [0-9]*$/\1/p' "$work/wayland.out")
at=$(sed -n 's/^stamp: .* at \([0-9]*\)$/\1/p' "$work/wayland.out")
[ "${stamp:0:2}" = "  " ] && near "$at" "${stamp:2}" || fail "the menu's Copy time stamp copied '$stamp', not two blanks and the StarDate $(TZ=UTC "$stardate" -a "@$at")"
echo "Wayland: the menu's Copy time stamp copied '$stamp'"
grep -qx 'Quit: ended' "$work/wayland.out" || fail "the menu's Quit did not end the program"
echo "Wayland: the menu's Quit ended the program"
echo "1 passed, 0 failed"
