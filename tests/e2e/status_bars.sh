#!/usr/bin/env bash
# The README's status-bar recipes with real clients: i3blocks runs its block
# (interval=persist), tmux draws its status line with #(stardate) for a client on a
# terminal; the waybar and polybar commands run as those bars start them, through sh.
# Each shows the StarDate of the present second, one a second, none skipped.
# Usage: status_bars.sh STARDATE README
set -euo pipefail
readme="$2"
source "$(dirname "$0")/../../scripts/lib.sh"
needs i3blocks tmux script
make_work
socket="stardate-test-$$"
at_exit 'kill "${i3blocks:-}"'
at_exit 'tmux -L "$socket" kill-server'
# The recipes name the command as users install it.
mkdir "$work/bin" && ln -s "$(realpath "$1")" "$work/bin/stardate"
export PATH="$work/bin:$PATH" TZ=UTC

# The lines of the README's code block that begins with the line $1.
recipe() { awk -v head="$1" '/^```/ { if (inside) exit; next } $0 == head { inside = 1; next } inside' "$readme"; }
# The StarDates from two seconds ago to now, by date's count and the shell's arithmetic.
recent() {
  local now s
  now=$(date +%s)
  for s in $((now + 14182937)) $((now + 14182936)) $((now + 14182935)); do
    printf ' + %4X.%04X\n' $((s >> 16)) $((s & 0xFFFF))
  done
}
# The StarDates of file $2, one a line, as client $1 showed them: at least three, one a
# second, the last of the present second.
check_shown() {
  [ "$(wc -l <"$2")" -ge 3 ] && recent | grep -qxF -- "$(tail -n 1 "$2")" &&
    awk '{ gsub(/[ +.]/, ""); n = strtonum("0x" $0); if (NR > 1 && n != last + 1) exit 1; last = n }' "$2" ||
    fail "$1 showed '$(tr '\n' '|' <"$2")' at $(recent | head -n 1)"
  echo "$1: $(tr '\n' '|' <"$2")"
}

recipe '# ~/.config/i3blocks/config' >"$work/i3blocks.conf"
grep -qx 'interval=persist' "$work/i3blocks.conf" || fail "the README's i3blocks recipe is not persistent"
i3blocks -c "$work/i3blocks.conf" </dev/null >"$work/i3blocks.out" 2>&1 &
i3blocks=$!
poll 150 eval '[ "$(grep -c "\"name\":\"stardate\"" "$work/i3blocks.out")" -ge 4 ]' || true
grep -o '"full_text":"[^"]*","name":"stardate"' "$work/i3blocks.out" | cut -d'"' -f4 >"$work/i3blocks.shown"
check_shown i3blocks "$work/i3blocks.shown"

recipe '# ~/.tmux.conf: tmux runs the command once a second' >"$work/tmux.conf"
tmux -L "$socket" -f "$work/tmux.conf" new-session -d -s bar 'sleep 60'
TERM=xterm timeout 20 script -qfec "stty rows 24 cols 100; timeout 4.5 tmux -L $socket attach -t bar" \
  "$work/tmux.typescript" </dev/null >/dev/null 2>&1 || true
grep -ao '[+-] *[0-9A-F]*[.][0-9A-F]\{4\}' "$work/tmux.typescript" | sed 's/^/ /' | uniq >"$work/tmux.shown"
check_shown "tmux's status line" "$work/tmux.shown"

# The bars start their command through sh and read it line by line.
waybar=$(recipe "// ~/.config/waybar/config: \"custom/stardate\" in one of the bar's modules- lists" |
  sed -n 's/^ *"exec": "\(.*\)",$/\1/p')
polybar=$(recipe "; ~/.config/polybar/config.ini: stardate in one of the bar's modules- lists" | sed -n 's/^exec = //p')
for bar in waybar polybar; do
  [ -n "${!bar}" ] || fail "the README has no $bar command"
  timeout 10 sh -c "${!bar}" | head -n 3 >"$work/$bar.shown"
  check_shown "$bar's command '${!bar}'" "$work/$bar.shown"
done
echo "every recipe passed"
