#!/usr/bin/env bash
# Fuzzes the leading value and the conversion, then the readers of moments, StarDates
# and hexadecimal texts, each for a bounded time (default 120 s).
# Usage: scripts/fuzz.sh [seconds]
set -euo pipefail
source "$(dirname "$0")/lib.sh"
ensure_packages clang libclang-rt-dev
build fuzz >/dev/null
cd "$selenial_source/build-fuzz"
# fuzz TARGET CORPUS SEED...: runs the target from the seeds for the given time.
fuzz() {
  local target=$1 corpus=$2 seed
  shift 2
  mkdir -p "$corpus"
  for seed in "$@"; do printf '%s' "$seed" >"$corpus/seed-$(printf '%s' "$seed" | md5sum | cut -c1-8)"; done
  "tests/$target" -max_total_time="$seconds" -max_len=40000 -timeout=5 -print_final_stats=1 "$corpus" 2>&1 |
    grep -E 'stat::number_of_executed_units|stat::peak_rss|Done|ERROR|SUMMARY'
}
seconds="${1:-120}"
fuzz conversion_fuzz corpus 0 "" -0 86400 3.14159 0.001 "-1.5E3" "  42" 12abc 1E999 ".5" "1 2 3" "1e-400"
# The stardate command's readers, from seeds of each kind of text they take.
fuzz readers_fuzz corpus-readers 2000-03-12T18:54:10Z "2000-03-13 01:54:10+07:00" 2000-03-12T19:54:10 \
  2000.03.12+18:54:10 @952887250 9999-12-31T23:59:60Z 10000-01-01T00:00:00Z " + 39A4.51EB" -0.0001 39a4.51e \
  "+ 15180.0" "4.189 nega-3" "1 posi-100"
