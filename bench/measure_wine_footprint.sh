#!/usr/bin/env bash
# Start-up time and memory of the Windows program under wine in its own Xvfb, side
# by side with a floor: a bare Win32 window of four labels updated by a 1 s timer and
# of the clock's size, built here with the same compiler and flags. Prints medians,
# ranges and ratios to the floor.
# Usage: bench/measure_wine_footprint.sh [runs] [x86_64|i686]   (default 5 x86_64)
set -euo pipefail
source "$(dirname "$0")/../scripts/lib.sh"
cd "$selenial_source"
runs="${1:-5}"
arch="${2:-x86_64}"
# The loader itself, so that the process measured is the program's: with wine32 there,
# "wine" hands a 64-bit program to a process of its own.
flags="" loader=/usr/lib/wine/wine64
[ "$arch" = i686 ] && flags="-msse2 -mfpmath=sse" loader=/usr/lib/wine/wine
program="$(built "windows-$arch" selenial src/selenial.exe)"
make_work
export TZ=UTC
pids=()
at_exit 'kill "${pids[@]}"'

cat >"$work/floor.cpp" <<'CPP'
#include <windows.h>
static HWND labels[4];
static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) {
    SYSTEMTIME now;
    GetSystemTime(&now);
    wchar_t text[64];
    wsprintfW(text, L"  %04d.%02d.%02d+%02d.%02d.%02d", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
              now.wSecond);
    SetWindowTextW(window, text);
    for (HWND label : labels) SetWindowTextW(label, text);
    return 0;
  }
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  WNDCLASSW design{};
  design.lpfnWndProc = procedure;
  design.hInstance = instance;
  design.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  design.lpszClassName = L"floor";
  RegisterClassW(&design);
  // The clock's size, so that both hold the same window surface.
  RECT frame{0, 0, 423, 184};
  AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
  HWND window = CreateWindowW(L"floor", L"floor", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
  for (int i = 0; i < 4; ++i) {
    labels[i] = CreateWindowW(L"STATIC", L"", WS_CHILD | WS_VISIBLE, 8, 8 + 40 * i, 400, 20, window, nullptr,
                              instance, nullptr);
  }
  SetTimer(window, 1, 1000, nullptr);
  ShowWindow(window, show);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
CPP
# shellcheck disable=SC2086
"$arch-w64-mingw32-g++-posix" -O3 -static -s -municode -mwindows $flags "$work/floor.cpp" -o "$work/floor.exe"
gcc -O2 bench/map_watch.c -o "$work/map_watch" $(pkg-config --cflags --libs xcb)

start_xvfb 1280x1024x24
start_wine persistent

# Starts a program in a fresh folder; prints its pid and the ms until its window is
# mapped, as the X server reports it.
start() {
  local dir="$work/run-$RANDOM$RANDOM"
  mkdir "$dir"
  (cd "$dir" && exec timeout 60 "$work/map_watch" "$loader" "$1" 2>/dev/null)
}

# A first start of each, unmeasured: wine's own files come into the page cache.
for binary in "$program" "$work/floor.exe"; do
  read -r pid _ < <(start "$binary")
  sleep 1
  wine taskkill /im "$(basename "$binary")" >/dev/null 2>&1 || kill "$pid"
  while kill -0 "$pid" 2>/dev/null; do sleep 0.05; done
done
# A window that stays through all runs: when the last one closes, wine's desktop process
# ends, and the next program waits seconds for a new one.
cp "$work/floor.exe" "$work/keeper.exe"
read -r keeper _ < <(start "$work/keeper.exe")
pids+=("$keeper")

source bench/pair.sh
: >"$work/results"
for run in $(seq "$runs"); do
  start_both "$run" "$program" "$work/floor.exe"
  # Memory once both run and have ticked, so that the libraries they share are split alike.
  sleep 3
  record_memory
  # Closed as a user closes them: a killed wine process holds up the next start for seconds.
  wine taskkill /im selenial.exe /im floor.exe >/dev/null 2>&1 || kill "$pid_selenial" "$pid_floor"
  while kill -0 "$pid_selenial" 2>/dev/null || kill -0 "$pid_floor" 2>/dev/null; do sleep 0.05; done
  pids=()
done

echo "$arch, runs: $runs; median [min-max]; program $(stat -c %s "$program") bytes, floor $(stat -c %s "$work/floor.exe") bytes"
awk -v metrics="start_ms rss_kib pss_kib" -f bench/ratios.awk "$work/results"
