#!/usr/bin/env bash
# The real program with auto stored, its wall clock moved by libfaketime, once it shows
# its first StarDate, to 20 seconds before a daylight saving switch, in Berlin and in New
# York, spring and autumn: every title over the 20 seconds around the switch is the
# StarDate of the true UTC moment, each second once. Title changes are seen by
# bench/title_watch.c.
set -euo pipefail
program="$(realpath "$1")"
source "$(dirname "$0")/x11.sh"
needs Xvfb gcc pkg-config stdbuf
libfaketime=$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -n1)
[ -n "$libfaketime" ] || { echo "SKIP: libfaketime is not installed"; exit 77; }
[ -f /usr/share/zoneinfo/Europe/Berlin ] || { echo "SKIP: no zone data"; exit 77; }
make_work
at_exit 'kill $(jobs -p)'
gcc -O2 "$selenial_source/bench/title_watch.c" -o "$work/title_watch" $(pkg-config --cflags --libs xcb) ||
  fail "cannot build title_watch"

# zone | the switch, in seconds since 1970 UTC
cases=("Europe/Berlin|1774746000" "Europe/Berlin|1792890000" "America/New_York|1772953200"
  "America/New_York|1793512800")
for i in "${!cases[@]}"; do
  IFS='|' read -r zone switch <<<"${cases[i]}"
  mkdir -p "$work/$i/runtime" && chmod 700 "$work/$i/runtime"
  printf 'auto\r\n' >"$work/$i/Selenial.ini"
  echo +0 >"$work/$i/faketime"
  (
    work="$work/$i"
    start_xvfb
    cd "$work"
    # The program's wall clock is the file's offset from the true one, read at every look.
    TZ="$zone" XDG_RUNTIME_DIR="$work/runtime" stdbuf -oL "$work/../title_watch" 45 \
      env LD_PRELOAD="$libfaketime" FAKETIME_TIMESTAMP_FILE="$work/faketime" FAKETIME_NO_CACHE=1 \
      FAKETIME_DONT_FAKE_MONOTONIC=1 "$program" >"$work/titles" 2>"$work/watch.log" &
    watch=$!
    # Started on a busy machine, a program may take seconds to show its first StarDate: only
    # then is its clock put 20 s before the switch, so that it runs the 20 s around it in full,
    # and they begin once the four programs' start-up no longer holds the machine.
    poll 600 grep -q '^[0-9.]* [ ][+-] ' "$work/titles" || fail "$zone: no StarDate title: $(cat "$work/watch.log")"
    ahead=$((switch - 20 - $(date +%s)))
    echo "$ahead" >"$work/ahead"
    printf '%+d\n' "$ahead" >"$work/faketime.new" && mv "$work/faketime.new" "$work/faketime"
    wait "$watch"
    kill "$xvfb"
  ) &
done
wait

# A title's count is the seconds since the epoch: 14182937 more than the Unix time.
for i in "${!cases[@]}"; do
  IFS='|' read -r zone switch <<<"${cases[i]}"
  ahead=$(cat "$work/$i/ahead")
  seen=0 last="" shown=()
  while IFS= read -r line; do
    at=${line%% *} title=${line#* }
    second=$((${at%.*} + ahead))
    ((second >= switch - 10 && second < switch + 10)) || continue
    # Seen within a second of its change: the count is of that second or the one before.
    count=$((second + 14182937))
    [ "$title" = "$(stardate "$count")" ] || [ "$title" = "$(stardate $((count - 1)))" ] ||
      fail "$zone at $(date -u -d "@$second" '+%F %T') UTC: the title is '$title'"
    [ -z "$last" ] || [ "$title" = "$(stardate $((last + 1)))" ] ||
      fail "$zone: '$title' follows the count $last: a second skipped or repeated"
    last=$(printf '%d' "0x$(tr -d ' +.' <<<"$title")")
    seen=$((seen + 1))
    shown+=("$title")
  done <"$work/$i/titles"
  ((seen >= 19)) || fail "$zone around $(date -u -d "@$switch" '+%F %T'): $seen titles in 20 s: $(cat "$work/$i/titles")"
  echo "$zone, switch at $(date -u -d "@$switch" '+%F %T') UTC: $seen titles, each second once:$(printf " '%s'" "${shown[@]}")"
done
echo "1 passed, 0 failed"
