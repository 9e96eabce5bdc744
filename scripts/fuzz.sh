#!/usr/bin/env bash
# Fuzzes the leading value and the conversion, then the readers of moments, StarDates
# and hexadecimal texts, each for a bounded time (default 120 s).
# Usage: scripts/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  if [ "$(id -u)" -eq 0 ]; then
    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq clang libclang-rt-dev
  else
    echo "clang++ with its fuzzer runtime is needed (apt-get install clang libclang-rt-dev)" >&2
    exit 1
  fi
fi
cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
  -DSELENIAL_UI=OFF -DSELENIAL_FUZZ=ON -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target conversion_fuzz readers_fuzz >/dev/null
corpus=build-fuzz/corpus
mkdir -p "$corpus"
for seed in 0 "" -0 86400 3.14159 0.001 "-1.5E3" "  42" 12abc 1E999 ".5" "1 2 3" "1e-400"; do
  printf '%s' "$seed" >"$corpus/seed-$(printf '%s' "$seed" | md5sum | cut -c1-8)"
done
build-fuzz/tests/conversion_fuzz -max_total_time="${1:-120}" -max_len=40000 -timeout=5 \
  -print_final_stats=1 "$corpus" 2>&1 | grep -E 'stat::number_of_executed_units|stat::peak_rss|Done|ERROR|SUMMARY' 

# The stardate command's readers, from seeds of each kind of text they take.
corpus=build-fuzz/corpus-readers
mkdir -p "$corpus"
for seed in 2000-03-12T18:54:10Z "2000-03-13 01:54:10+07:00" 2000-03-12T19:54:10 2000.03.12+18:54:10 @952887250 \
            9999-12-31T23:59:60Z 10000-01-01T00:00:00Z " + 39A4.51EB" -0.0001 39a4.51e "+ 15180.0" "4.189 nega-3" \
            "1 posi-100"; do
  printf '%s' "$seed" >"$corpus/seed-$(printf '%s' "$seed" | md5sum | cut -c1-8)"
done
build-fuzz/tests/readers_fuzz -max_total_time="${1:-120}" -max_len=40000 -timeout=5 \
  -print_final_stats=1 "$corpus" 2>&1 | grep -E 'stat::number_of_executed_units|stat::peak_rss|Done|ERROR|SUMMARY'
