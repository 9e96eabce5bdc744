#!/usr/bin/env bash
# The stardate command against coreutils, in the same run: one start to exit of
# `stardate` against `date +%s` (medians of many runs, alternated), and the CPU time of
# `stardate --follow` over a span against a shell loop of `date` and `sleep 1` over the
# same span, side by side; with how long after the true second each line of --follow came.
# Usage: bench/measure_stardate.sh [runs] [seconds] [program]   (default 200 60, a Release build here)
set -euo pipefail
source "$(dirname "$0")/../scripts/lib.sh"
runs="${1:-200}"
span="${2:-60}"
program="$(realpath "${3:-$(built bench stardate src/cli/stardate)}")"

python3 - "$program" "$runs" "$span" <<'PY'
import os, signal, statistics, subprocess, sys, threading, time

program, runs, span = sys.argv[1], int(sys.argv[2]), float(sys.argv[3])
date = "/usr/bin/date"

def start_to_exit(argv):
    begin = time.perf_counter_ns()
    pid = os.posix_spawn(argv[0], argv, os.environ, file_actions=[(os.POSIX_SPAWN_OPEN, 1, os.devnull, os.O_WRONLY, 0)])
    os.waitpid(pid, 0)
    return (time.perf_counter_ns() - begin) / 1e6

for argv in ([program], [date, "+%s"]):  # warm the caches
    start_to_exit(argv)
ours, theirs = [], []
for _ in range(runs):
    ours.append(start_to_exit([program]))
    theirs.append(start_to_exit([date, "+%s"]))
m_ours, m_theirs = statistics.median(ours), statistics.median(theirs)
print(f"start to exit, medians of {runs}: stardate {m_ours:.3f} ms [{min(ours):.3f}-{max(ours):.3f}], "
      f"date +%s {m_theirs:.3f} ms [{min(theirs):.3f}-{max(theirs):.3f}], ratio {m_ours / m_theirs:.2f}")

# Both for the same span, at the same time; each one's CPU time with that of the
# children it waited for, from the kernel's accounting.
def cpu_of(process, result, key):
    _, _, usage = os.wait4(process.pid, 0)
    result[key] = usage.ru_utime + usage.ru_stime

follow = subprocess.Popen([program, "--follow", "--format", "%s"], stdout=subprocess.PIPE)
loop = subprocess.Popen(["sh", "-c", 'while :; do date; sleep 1; done'], stdout=subprocess.DEVNULL)
lateness, counts = [], []
deadline = time.monotonic() + span
while time.monotonic() < deadline:
    line = follow.stdout.readline()
    now = time.clock_gettime(time.CLOCK_REALTIME)
    if not line:
        break
    counts.append(int(line))
    lateness.append((now % 1) * 1000)
follow.terminate()
loop.terminate()
cpu = {}
for process, key in ((follow, "follow"), (loop, "loop")):
    cpu_of(process, cpu, key)
late = sorted(lateness[1:])  # the first line comes at the start, not on a second
print(f"CPU time over {span:.0f} s: stardate --follow {cpu['follow'] * 1000:.1f} ms, "
      f"loop of date and sleep 1 {cpu['loop'] * 1000:.1f} ms, ratio {cpu['follow'] / cpu['loop']:.3f}")
skipped = sum(b - a != 1 for a, b in zip(counts, counts[1:]))
print(f"--follow lines after the true second, {len(late)} lines, {skipped} seconds skipped or repeated: median {statistics.median(late):.2f} ms, "
      f"p99 {late[int(len(late) * 0.99) - 1]:.2f} ms, at most {late[-1]:.2f} ms")
PY
