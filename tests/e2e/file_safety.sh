#!/usr/bin/env bash
# The offset file is the user's: the real program, started by root where another
# user planted or owns Selenial.ini, changes nothing that is not its own.
#  - a Selenial.ini link that nobody planted in a sticky folder anyone may write,
#    pointing to a file of root's: the start neither writes that file nor removes
#    the files named like temporary files beside it;
#  - a Selenial.ini of nobody's that holds an offset: the start leaves its owner,
#    bytes and time as they were.
# Usage: file_safety.sh program
set -euo pipefail
program="$(realpath "$1")"
[ "$(id -u)" = 0 ] || { echo "SKIP: needs root, to plant files as another user"; exit 77; }
source "$(dirname "$0")/x11.sh"
needs Xvfb xdotool setpriv
make_work
chmod 755 "$work"
at_exit 'if [ -n "${app:-}" ]; then kill -9 "$app"; fi'
start_xvfb
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime" TZ=UTC

as_nobody() { setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"; }
# Starts the program in a folder, waits until its window shows its caption, and ends it.
start_in() {
  (cd "$1" && exec "$program" >>"$work/app.log" 2>&1) &
  app=$!
  local window
  window=$(timeout 30 xdotool search --sync --onlyvisible --pid "$app" 2>/dev/null | head -n1) || fail "no window in $1"
  poll 100 test -n "$(xdotool getwindowname "$window" 2>/dev/null)" || fail "no caption in $1"
  kill "$app"
  wait "$app" 2>/dev/null || true
  app=""
}
# Owner, time to the nanosecond, place and bytes of a file.
state() { echo "$(stat -c '%U:%G %.9Y %i' "$1") $(od -An -tx1 "$1" | tr -d ' \n')"; }

shared="$work/shared" victims="$work/victims"
mkdir -m 1777 "$shared"
mkdir "$victims"
printf '7200,a file of root'"'"'s\r\n' >"$victims/victim.txt"
printf 'kept' >"$victims/victim.txt.tmp"
printf 'kept' >"$victims/victim.txt.tmp2"
touch -d '2020-01-01 12:00' "$victims"/*
as_nobody ln -s "$victims/victim.txt" "$shared/Selenial.ini"
before="$(state "$victims/victim.txt")"
start_in "$shared"
[ "$(state "$victims/victim.txt")" = "$before" ] || fail "the link's target changed: $(state "$victims/victim.txt")"
[ -e "$victims/victim.txt.tmp" ] && [ -e "$victims/victim.txt.tmp2" ] || fail "files beside the link's target went: $(ls "$victims")"
[ -L "$shared/Selenial.ini" ] || fail "the planted link went"
grep -q "a link owned by another user" "$work/app.log" || fail "no word of the link: $(cat "$work/app.log")"
echo "a link of nobody's in a sticky folder: its target and the files beside it stay as they were"

own="$work/own"
mkdir "$own"
printf '3600\r\n' >"$own/Selenial.ini"
chown nobody:nogroup "$own/Selenial.ini"
touch -d '2020-01-01 12:00' "$own/Selenial.ini"
before="$(state "$own/Selenial.ini")"
start_in "$own"
[ "$(state "$own/Selenial.ini")" = "$before" ] || fail "nobody's Selenial.ini changed: $before -> $(state "$own/Selenial.ini")"
echo "a Selenial.ini of nobody's holding 3600: owner, time, place and bytes stay"
echo "2 passed, 0 failed"
