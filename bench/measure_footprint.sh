#!/usr/bin/env bash
# Start-up time, memory and idle cost of the real program under its own Xvfb,
# side by side with a floor: a bare Qt 6 window of four labels updated by a 1 s
# timer and of the clock's size, built here. Prints medians, ranges and ratios to the floor.
# Usage: bench/measure_footprint.sh [runs] [idle seconds] [program]   (default 5 30, a Release build here)
set -euo pipefail
source "$(dirname "$0")/../scripts/lib.sh"
cd "$selenial_source"
runs="${1:-5}"
idle="${2:-30}"
program="$(realpath "${3:-$(built bench selenial src/selenial)}")"
make_work
pids=()
at_exit 'kill "${pids[@]}"'

cat >"$work/floor.cpp" <<'CPP'
#include <QApplication>
#include <QDateTime>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  QLabel* labels[4];
  for (auto*& label : labels) layout->addWidget(label = new QLabel(&window));
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    const QString now = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    window.setWindowTitle(now);
    for (QLabel* label : labels) label->setText("  " + now);
  });
  timer.start(1000);
  // The clock's size, so that both hold the same window surface.
  window.resize(423, 203);
  window.show();
  return app.exec();
}
CPP
g++ -std=c++17 -O2 -fPIC "$work/floor.cpp" -o "$work/floor" $(pkg-config --cflags --libs Qt6Widgets)
gcc -O2 bench/map_watch.c -o "$work/map_watch" $(pkg-config --cflags --libs xcb)

start_xvfb 1280x1024x24

# CPU time in ns and context switches, over all threads of a process.
cpu_ns() { awk '{ sum += $1 } END { print sum }' /proc/"$1"/task/*/schedstat; }
switches() { cat /proc/"$1"/task/*/status | awk '/ctxt_switches/ { sum += $2 } END { print sum }'; }

# Starts a program in a fresh folder; prints its pid and the ms until its window is
# mapped, as the X server reports it (no polling that would compete for the CPU).
start() {
  local dir="$work/run-$RANDOM$RANDOM"
  mkdir "$dir"
  (cd "$dir" && exec timeout 60 "$work/map_watch" "$1" 2>/dev/null)
}

source bench/pair.sh
: >"$work/results"
for run in $(seq "$runs"); do
  start_both "$run" "$program" "$work/floor"
  # Memory once both run, so that the libraries they share are split alike.
  sleep 2
  record_memory
  # Both tick side by side for the idle span.
  c0s=$(cpu_ns "$pid_selenial"); c0f=$(cpu_ns "$pid_floor")
  s0s=$(switches "$pid_selenial"); s0f=$(switches "$pid_floor")
  sleep "$idle"
  echo "selenial idle_cpu_ms $(( ($(cpu_ns "$pid_selenial") - c0s) / 1000000 ))" >>"$work/results"
  echo "floor idle_cpu_ms $(( ($(cpu_ns "$pid_floor") - c0f) / 1000000 ))" >>"$work/results"
  echo "selenial idle_switches $(( $(switches "$pid_selenial") - s0s ))" >>"$work/results"
  echo "floor idle_switches $(( $(switches "$pid_floor") - s0f ))" >>"$work/results"
  kill "$pid_selenial" "$pid_floor"
  # They are the watcher's children, not ours: wait until they are gone.
  while kill -0 "$pid_selenial" 2>/dev/null || kill -0 "$pid_floor" 2>/dev/null; do sleep 0.05; done
  pids=()
done

echo "runs: $runs, idle span: ${idle} s; median [min-max]"
awk -v metrics="start_ms rss_kib pss_kib idle_cpu_ms idle_switches" -f bench/ratios.awk "$work/results"
