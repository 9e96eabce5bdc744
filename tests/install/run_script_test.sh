#!/usr/bin/env bash
# scripts/run.sh as a user meets it, on a copy of the scripts whose release build is the
# program under test: apt-get, dpkg-query, id and cmake are stand-ins that log what they
# are asked. With the packages there and no display, it builds and then says in one line
# on stderr how to try the clock, with an error status (not Qt's abort); on a fresh
# machine with a display it installs what building and running need, no test tool among
# them, and starts the clock.
# Usage: run_script_test.sh PROGRAM
set -euo pipefail
program="$(realpath "$1")"
source "$(dirname "$0")/../e2e/x11.sh"
needs Xvfb xdotool
make_work
at_exit 'kill "${app:-}"'

tree="$work/tree"
mkdir -p "$tree/scripts" "$tree/build/src" "$work/bin" "$work/run"
cp "$selenial_source/scripts/run.sh" "$selenial_source/scripts/lib.sh" "$tree/scripts/"
ln -s "$program" "$tree/build/src/selenial"
for tool in apt-get cmake; do printf '#!/bin/sh\necho "%s $*" >>"%s"\n' "$tool" "$work/calls" >"$work/bin/$tool"; done
# Every package is there unless FRESH is set; the user is root.
printf '#!/bin/sh\n[ -n "$FRESH" ] || printf "install ok installed"\n' >"$work/bin/dpkg-query"
printf '#!/bin/sh\necho 0\n' >"$work/bin/id"
chmod +x "$work/bin/"*
export PATH="$work/bin:$PATH"
cd "$work/run"

status=0
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$tree/scripts/run.sh" >"$work/out" 2>"$work/err" || status=$?
echo "without a display: status $status, stderr '$(cat "$work/err")'"
[ "$status" -ne 0 ] && [ "$status" -ne 134 ] || fail "run.sh without a display ended with status $status"
[ "$(wc -l <"$work/err")" -eq 1 ] && grep -q 'graphical session.*xvfb-run -a scripts/run.sh' "$work/err" ||
  fail "run.sh without a display wrote to stderr: $(cat "$work/err")"
[ "$(cut -d' ' -f1-3 "$work/calls" | tr '\n' '|')" = "cmake --preset release|cmake --build --preset|" ] ||
  fail "run.sh, its packages there, called: $(cat "$work/calls")"

: >"$work/calls"
start_xvfb
FRESH=1 "$tree/scripts/run.sh" >"$work/out" 2>"$work/err" &
app=$!
wait_window '^ini: ' >/dev/null
installed=$(sed -n 's/^apt-get install -y -qq //p' "$work/calls")
echo "on a fresh machine run.sh installs: $installed"
grep -qw qt6-base-dev <<<"$installed" || fail "run.sh does not install Qt"
if grep -Ew 'wine[0-9]*|[^ ]*mingw[^ ]*|orca|weston|wixl' <<<"$installed"; then fail "run.sh installs test tools"; fi
echo "1 passed, 0 failed"
