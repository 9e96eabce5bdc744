#!/usr/bin/env bash
# Start-up time and memory of the Windows program under wine in its own Xvfb, side
# by side with a floor: a bare Win32 window of four labels updated by a 1 s timer and
# of the clock's size, built here with the same compiler and flags. Prints medians,
# ranges and ratios to the floor.
# Usage: bench/measure_wine_footprint.sh [runs] [x86_64|i686]   (default 5 x86_64)
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-5}"
arch="${2:-x86_64}"
# The loader itself, so that the process measured is the program's: with wine32 there,
# "wine" hands a 64-bit program to a process of its own.
toolchain=cmake/mingw-w64.cmake flags="" loader=/usr/lib/wine/wine64
[ "$arch" = i686 ] && toolchain=cmake/mingw-w64-i686.cmake flags="-msse2 -mfpmath=sse" loader=/usr/lib/wine/wine
build="$PWD/build-windows-$arch"
[ -f "$build/CMakeCache.txt" ] ||
  cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release -DSELENIAL_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target selenial >/dev/null
program="$build/src/selenial.exe"

work="$(mktemp -d)"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all DBUS_SESSION_BUS_ADDRESS=unix:path=/dev/null TZ=UTC
export WINEDLLOVERRIDES="mscoree,mshtml="
pids=()
cleanup() {
  kill "${pids[@]}" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  kill "${xvfb:-}" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

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

exec 3>"$work/display"
Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"
# One server for all runs, as on a desktop where wine is already up.
mkdir -p "$WINEPREFIX" && wineserver -p
wineboot -i >/dev/null 2>&1

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
