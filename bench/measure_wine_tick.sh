#!/usr/bin/env bash
# How closely the Windows program's title follows the true second under wine: the
# cross-built program in a scratch wine prefix, measured as bench/measure_tick.sh
# measures the Linux one (median, p99, max; seconds skipped or shown twice).
# Usage: bench/measure_wine_tick.sh [seconds] [program.exe]   (default 300, the x86_64 Release build here)
set -euo pipefail
source "$(dirname "$0")/../scripts/lib.sh"
cd "$selenial_source"
seconds="${1:-300}"
program="$(realpath "${2:-$(built windows-x86_64 selenial src/selenial.exe)}")"
make_work
start_wine
# Wine's desktop process, started with the prefix and without a display, must be gone
# before the run: the program's windows would go nowhere.
wineserver -w
# The loader itself, so that the window's process is the one started.
bench/measure_tick.sh "$seconds" /usr/lib/wine/wine64 "$program"
