#!/usr/bin/env bash
# The real program with auto stored, its wall clock put ahead by faketime to ten
# seconds before a daylight saving switch, in Berlin and in New York, spring and
# autumn: every title over the 20 seconds around the switch is the StarDate of the
# true UTC moment, each second once. Title changes are seen by bench/title_watch.c.
set -euo pipefail
program="$(realpath "$1")"
source_dir="$(cd "$(dirname "$0")/../.." && pwd)"
for tool in Xvfb faketime gcc pkg-config; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
[ -f /usr/share/zoneinfo/Europe/Berlin ] || { echo "SKIP: no zone data"; exit 77; }

work="$(mktemp -d)"
cleanup() {
  kill $(jobs -p) 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
source "$(dirname "$0")/x11.sh"
gcc -O2 "$source_dir/bench/title_watch.c" -o "$work/title_watch" $(pkg-config --cflags --libs xcb) ||
  fail "cannot build title_watch"

# zone | the switch, in seconds since 1970 UTC
cases=("Europe/Berlin|1774746000" "Europe/Berlin|1792890000" "America/New_York|1772953200"
  "America/New_York|1793512800")
ahead=()
for i in "${!cases[@]}"; do
  IFS='|' read -r zone switch <<<"${cases[i]}"
  mkdir -p "$work/$i/runtime" && chmod 700 "$work/$i/runtime"
  printf 'auto\r\n' >"$work/$i/Selenial.ini"
  # Started 13 s before the switch, watched for 24 s.
  ahead[i]=$((switch - 13 - $(date +%s)))
  (
    work="$work/$i"
    start_xvfb
    cd "$work"
    TZ="$zone" XDG_RUNTIME_DIR="$work/runtime" FAKETIME_DONT_FAKE_MONOTONIC=1 \
      "$work/../title_watch" 24 faketime -f "$(printf '%+d' "${ahead[i]}")" "$program" >"$work/titles" 2>"$work/watch.log"
    kill "$xvfb"
  ) &
done
wait

# A title's count is the seconds since the epoch: 14182937 more than the Unix time.
for i in "${!cases[@]}"; do
  IFS='|' read -r zone switch <<<"${cases[i]}"
  seen=0 last="" shown=()
  while IFS= read -r line; do
    at=${line%% *} title=${line#* }
    second=$((${at%.*} + ahead[i]))
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
