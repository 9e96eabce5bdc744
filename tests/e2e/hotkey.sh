#!/usr/bin/env bash
# The time stamp's system-wide key in a real X server: it types the stamp into a
# terminal while its modifiers are still held (and with Caps Lock on), copies it when
# Selenial.conf says so, and a clock that finds the key taken says so and runs on.
# The stardate command gives the text each format must make.
set -euo pipefail
program="$(realpath "$1")" stardate="$(realpath "$2")"
source "$(dirname "$0")/x11.sh"
needs Xvfb xdotool xclip xterm
make_work
at_exit 'kill "${app:-}" "${second:-}" "${term:-}"'
start_xvfb
cd "$work"

# start_clock LOG: a clock in this folder, once its caption shows a StarDate.
start_clock() {
  TZ=UTC "$program" >"$work/$1" 2>&1 &
  app=$!
  main=$(wait_window '^ini:  0$')
  poll 100 sh -c "xdotool getwindowname $main | grep -q '\\.'" || fail "no StarDate in the caption"
}
# stamped TEXT FORMAT: the command's line in that format for one of the last seconds.
stamped() {
  local now
  now=$(date -u +%s)
  for n in $((now - 2)) $((now - 1)) "$now"; do [ "$1" = "$(TZ=UTC "$stardate" -a "@$n" -f "$2")" ] && return 0; done
  return 1
}
# press_for FORMAT: Super+Alt+T, held, types a stamp in that format into the terminal.
press_for() {
  format=$1 before=$(stat -c %s typed)
  new() { tail -c +$((before + 1)) typed; }
  xdotool keydown super alt key t
  poll 100 eval 'stamped "$(new)" "$format"' || fail "the terminal got '$(new | od -An -c)', not a stamp in '$1'"
  xdotool keyup super alt
  echo "typed in '$1': '$(new)'"
}

start_clock app.log
xterm -geometry 60x4 -title stampterm -e sh -c "stty -icanon; cat > '$work/typed'" &
term=$!
terminal=$(wait_window '^stampterm$')
poll 100 test -e typed || fail "the terminal did not start"
xdotool windowfocus --sync "$terminal"
# The StarDate as the window shows it; no escape sequences or shortcuts from the held keys.
press_for '  %S'
[ "$(clipboard)" = "" ] || fail "typing touched the clipboard: '$(clipboard)'"

# A second clock finds the key taken: it says so and runs; the first keeps the key.
TZ=UTC "$program" >"$work/second.log" 2>&1 &
second=$!
poll 100 grep -qx "selenial: Super+Alt+T: taken by another program" second.log ||
  fail "the second clock did not say the key is taken: $(cat second.log)"
kill -0 "$second" || fail "the second clock ended"
echo "second clock: $(grep selenial: second.log)"
press_for '  %S'
kill "$second" "$app"
wait "$second" "$app" 2>/dev/null || true

# With Caps Lock on, the letters of an ISO 8601 stamp (T, the key's own, too) come out as they are.
printf 'copy=%%i\n' >Selenial.conf
start_clock caps.log
xdotool windowfocus --sync "$terminal" key Caps_Lock
press_for '%i'
xdotool key Caps_Lock
kill "$app"
wait "$app" 2>/dev/null || true

# Copying instead: the clipboard holds the bare StarDate, Selenial.conf is left as it was.
printf 'hotkey-does=copy\ncopy=%%C\n' >Selenial.conf
start_clock copy.log
echo marker | xclip -i -selection clipboard
poll 50 sh -c '[ "$(xclip -o -selection clipboard)" = marker ]' || fail "xclip did not take the clipboard"
xdotool keydown super alt key t keyup super alt
poll 100 eval 'stamped "$(clipboard)" %C' || fail "the clipboard holds '$(clipboard)', not the bare StarDate"
echo "copied: '$(clipboard)'"
[ "$(cat Selenial.conf)" = "$(printf 'hotkey-does=copy\ncopy=%%C')" ] || fail "Selenial.conf changed: $(cat Selenial.conf)"
echo "PASS"
