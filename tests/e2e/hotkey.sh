#!/usr/bin/env bash
# The time stamp's system-wide key in a real X server: it types the stamp into a
# terminal while its modifiers are still held, copies it when Selenial.conf says so,
# and a clock that finds the key taken by another program says so and runs on.
set -euo pipefail
program="$(realpath "$1")"
for tool in Xvfb xdotool xclip xterm; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

work="$(mktemp -d)"
cleanup() {
  kill "${app:-}" "${second:-}" "${term:-}" "${xvfb:-}" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

source "$(dirname "$0")/x11.sh"
start_xvfb
cd "$work"

# start_clock LOG: a clock in this folder, once its caption shows a StarDate.
start_clock() {
  TZ=UTC "$program" >"$work/$1" 2>&1 &
  app=$!
  main=$(wait_window '^ini:  0$')
  poll 100 sh -c "xdotool getwindowname $main | grep -q '\\.'" || fail "no StarDate in the caption"
}
stamp_key() {
  xdotool keydown super alt
  xdotool key t
}
# has_stamp FILE [FROM]: the file holds the clock's StarDate label, two blanks first
# (from byte FROM on, the file's first byte being 0).
has_stamp() {
  local text
  text=$(tail -c +$((${2:-0} + 1)) "$1" 2>/dev/null) || return 1
  [ "${text:0:2}" = "  " ] && is_present 0 "${text:2}"
}

start_clock app.log
grep -q "taken" app.log && fail "the key was taken at start: $(cat app.log)"
xterm -geometry 60x4 -title stampterm -e sh -c "stty -icanon; cat > '$work/typed'" &
term=$!
terminal=$(wait_window '^stampterm$')
poll 100 test -e typed || fail "the terminal did not start"
xdotool windowfocus --sync "$terminal"
stamp_key
# Typed as it is, with Super and Alt still down: no escape sequences, no shortcuts.
poll 100 has_stamp typed || fail "the terminal got '$(od -An -c typed)', not the StarDate"
xdotool keyup super alt
echo "typed: '$(cat typed)'"
[ "$(clipboard)" = "" ] || fail "typing touched the clipboard: '$(clipboard)'"

# A second clock finds the key taken: it says so, starts all the same, and the first
# keeps the key.
TZ=UTC "$program" >"$work/second.log" 2>&1 &
second=$!
poll 100 grep -q "^selenial: Super+Alt+T: taken by another program$" second.log ||
  fail "the second clock did not say the key is taken: $(cat second.log)"
kill -0 "$second" || fail "the second clock ended"
echo "second clock: $(cat second.log)"
before=$(stat -c %s typed)
stamp_key
poll 100 has_stamp typed "$before" || fail "the first clock lost its key: '$(cat typed)'"
xdotool keyup super alt
kill "$second" "$app"
wait "$second" "$app" 2>/dev/null || true

# With Caps Lock on, the letters of an ISO 8601 stamp still come out as they are.
printf 'copy=%%i\n' >Selenial.conf
start_clock caps.log
xdotool windowfocus --sync "$terminal"
xdotool key Caps_Lock
before=$(stat -c %s typed)
stamp_key
iso_typed() {
  local text now
  text=$(tail -c +$((before + 1)) typed)
  now=$(date -u +%s)
  for n in $((now - 2)) $((now - 1)) "$now"; do
    [ "$text" = "$(date -u -d "@$n" +%Y-%m-%dT%H:%M:%SZ)" ] && return 0
  done
  return 1
}
poll 100 iso_typed || fail "with Caps Lock on the terminal got '$(tail -c +$((before + 1)) typed)'"
xdotool keyup super alt
echo "typed with Caps Lock on: '$(tail -c +$((before + 1)) typed)'"
xdotool key Caps_Lock
kill "$app"
wait "$app" 2>/dev/null || true

# Copying instead, in the command's format: the clipboard holds the bare StarDate.
printf 'hotkey-does=copy\ncopy=%%C\n' >Selenial.conf
start_clock copy.log
echo marker | xclip -i -selection clipboard
poll 50 sh -c '[ "$(xclip -o -selection clipboard)" = marker ]' || fail "xclip did not take the clipboard"
stamp_key
xdotool keyup super alt
copied() {
  local text now
  text=$(clipboard)
  now=$(starsecs 0)
  for n in $((now - 2)) $((now - 1)) "$now" $((now + 1)); do
    [ "$text" = "$(stardate "$n" | tr -d ' ')" ] && return 0
  done
  return 1
}
poll 100 copied || fail "the clipboard holds '$(clipboard)', not the bare StarDate"
echo "copied: '$(clipboard)'"
[ "$(cat Selenial.conf)" = "$(printf 'hotkey-does=copy\ncopy=%%C')" ] || fail "Selenial.conf changed: $(cat Selenial.conf)"
echo "PASS"
