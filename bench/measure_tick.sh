#!/usr/bin/env bash
# How closely the title follows the true second: runs the real program under its
# own Xvfb, watches the title-change events of its window (bench/title_watch.c)
# and prints how long after the start of its second each new StarDate arrived
# (median, p99, max) and any second skipped or shown twice.
# Usage: bench/measure_tick.sh [seconds] [program [arguments]]   (default 300, a Release build here)
set -euo pipefail
source "$(dirname "$0")/../scripts/lib.sh"
cd "$selenial_source"
seconds="${1:-300}"
program="$(realpath "${2:-$(built bench selenial src/selenial)}")"
arguments=("${@:3}")
make_work
gcc -O2 bench/title_watch.c -o "$work/title_watch" $(pkg-config --cflags --libs xcb)

start_xvfb

# UTC and no stored offset: the StarDate counts the system clock's seconds.
mkdir -m 700 "$work/runtime"
(cd "$work" && TZ=UTC XDG_RUNTIME_DIR="$work/runtime" "$work/title_watch" "$seconds" "$program" "${arguments[@]}") >"$work/titles"

# Each line: the wall-clock moment of the change, then the title. A title's count
# belongs to the second that starts at count - 14182937 (the epoch's Unix time, negated).
# The first change is left out: the first tick comes a plain second after the start.
awk '
  function hex(text,   i, n) {
    n = 0
    for (i = 1; i <= length(text); i++) n = n * 16 + index("0123456789ABCDEF", substr(text, i, 1)) - 1
    return n
  }
  {
    title = substr($0, length($1) + 2)
    if (title !~ /^ [+-] /) next
    digits = substr(title, 4); gsub(/[ .]/, "", digits)
    count = hex(digits); if (substr(title, 2, 1) == "-") count = -count
    if (!seen) { seen = 1; last = count; next }
    split($1, at, ".")
    delay = (at[1] - (count - 14182937)) * 1000 + substr(at[2] "000000000", 1, 9) / 1e6
    print delay
    if (count == last + 1) ok++
    else if (count > last + 1) { skipped += count - last - 1; printf "skipped after %d\n", last > "/dev/stderr" }
    else { repeated++; printf "repeated or backwards: %d after %d\n", count, last > "/dev/stderr" }
    last = count
  }
  END { printf "%d %d %d\n", ok + 0, skipped + 0, repeated + 0 > "'"$work/counts"'" }
' "$work/titles" | sort -g >"$work/delays"

read -r steps skipped repeated <"$work/counts"
n=$(wc -l <"$work/delays")
[ "$n" -gt 0 ] || { echo "no title changes seen" >&2; exit 1; }
pick() { sed -n "$(( ($1 * n + 99) / 100 ))p" "$work/delays"; }
printf 'title changes: %d over %s s (%d steps of one second, %d seconds skipped, %d repeated)\n' \
  "$n" "$seconds" "$steps" "$skipped" "$repeated"
printf 'delay after the true second, ms: min %.2f  median %.2f  p90 %.2f  p99 %.2f  max %.2f\n' \
  "$(head -n1 "$work/delays")" "$(pick 50)" "$(pick 90)" "$(pick 99)" "$(tail -n1 "$work/delays")"
