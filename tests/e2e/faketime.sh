#!/usr/bin/env bash
# The real program with a faked wall clock, at moments that a 64-bit count of
# nanoseconds cannot hold: 9999-12-31 23:59:50, running past the last second of
# the year 9999, and 2262-04-11 23:47:10, running past 23:47:16. The title and
# the StarDate label show the faked moment; past 9999 the last good texts stay.
set -euo pipefail
program="$(realpath "$1")"
source "$(dirname "$0")/x11.sh"
needs Xvfb xdotool xclip faketime
make_work
at_exit 'kill "${apps[@]}"'
start_xvfb
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"

now_ms() { date +%s%3N; }

# Each program's faked clock starts at its moment when it starts, and then runs.
starts=("9999-12-31 23:59:50" "2262-04-11 23:47:10")
apps=() windows=() launched=() first=()
for i in "${!starts[@]}"; do
  mkdir "$work/run$i"
  first[i]=$(TZ=UTC date -d "${starts[i]}" +%s)
  launched[i]=$(now_ms)
  (cd "$work/run$i" && TZ=UTC FAKETIME_DONT_FAKE_MONOTONIC=1 exec faketime "${starts[i]}" "$program" \
    >"$work/app$i.log" 2>&1) &
  apps[i]=$!
done
for i in "${!starts[@]}"; do
  # faketime runs the program as its child.
  for _ in $(seq 300); do pid=$(pgrep -P "${apps[i]}" | head -n1) && break; sleep 0.1; done
  windows[i]=$(timeout 60 xdotool search --sync --onlyvisible --pid "$pid" 2>/dev/null | head -n1) ||
    fail "no window at ${starts[i]}"
  # Side by side, so that a click reaches the window it is meant for.
  xdotool windowmove --sync "${windows[i]}" $((i * 500)) 0
done

# Whether $2 is the StarDate that program $1 should show now: its moment plus the seconds
# since it was launched, held at the last second of 9999. Its faked clock starts when
# the program has loaded, which on a busy machine may be seconds after the launch.
shows_present() {
  local i=$1 title=$2 elapsed n second
  elapsed=$((($(now_ms) - launched[i]) / 1000))
  for n in $((elapsed - 3)) $((elapsed - 2)) $((elapsed - 1)) "$elapsed" $((elapsed + 1)); do
    second=$((first[i] + n))
    ((second > 253402300799)) && second=253402300799
    [ "$title" = "$(stardate $((second + 14182937)))" ] && return 0
  done
  return 1
}
title_of() { xdotool getwindowname "${windows[$1]}"; }

for i in "${!starts[@]}"; do
  # The first tick puts the StarDate into the title.
  poll 100 eval 'title=$(title_of "$i"); shows_present "$i" "$title"' || fail "at ${starts[i]} the title is '$title'"
  echo "${starts[i]} + $((($(now_ms) - launched[i]) / 1000)) s: title '$title'"
  # The StarDate label, as its time stamp copies it.
  copy_stardate_label "${windows[i]}"
  stamp=$(clipboard)
  shows_present "$i" "${stamp:2}" || fail "at ${starts[i]} the StarDate label reads '$stamp'"
  echo "${starts[i]} + $((($(now_ms) - launched[i]) / 1000)) s: StarDate label '$stamp'"
done

# Both run past their edge: 10000-01-01 00:00:00 and 2262-04-11 23:47:17.
left=$((12000 - ($(now_ms) - launched[0])))
((left > 0)) && sleep "$(printf '%d.%03d' $((left / 1000)) $((left % 1000)))"
for i in "${!starts[@]}"; do
  kill -0 "${apps[i]}" || fail "the program at ${starts[i]} died"
  title=$(title_of "$i")
  shows_present "$i" "$title" || fail "at ${starts[i]} + 12 s the title is '$title'"
  echo "${starts[i]} + 12 s: title '$title'"
done
[ "$(title_of 0)" = "$(stardate $((253402300799 + 14182937)))" ] ||
  fail "past 9999 the title is '$(title_of 0)', not the last good StarDate"
echo "1 passed, 0 failed"
