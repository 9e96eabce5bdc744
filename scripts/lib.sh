# shellcheck shell=bash disable=SC2034
# What the scripts, the measuring scripts and the end-to-end tests share. Sourced, after
# `set -euo pipefail`:  source "$(dirname "$0")/../scripts/lib.sh"   (or the path from the test)

selenial_source="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# What building and starting the clock needs: compiler, CMake, Qt, CLI11, the X key grab and
# XTEST for the time stamp's system-wide key, the fonts it asks for.
runtime_packages=(cmake make g++ pkg-config qt6-base-dev libcli11-dev libxcb1-dev libxcb-xtest0-dev
  fonts-liberation fonts-dejavu-core)
# What the tests need besides: GoogleTest, the X and Wayland servers, the screen reader,
# bars, trays and window managers they drive, wine and the cross compiler for the Windows program.
test_packages=(
  libgtest-dev libgmock-dev googletest i3blocks tmux man-db libxcb-keysyms1-dev
  xvfb xauth xdotool xclip x11-utils imagemagick faketime xterm openbox trayer stress-ng jq strace
  weston qt6-wayland wl-clipboard sway waybar wtype qt6-gtk-platformtheme
  desktop-file-utils appstream libglib2.0-bin dpkg-dev file icoutils librsvg2-bin
  dbus dbus-daemon at-spi2-core python3-pyatspi python3-dbus orca
  binutils-mingw-w64-x86-64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine wine64 wixl msitools
)

# For the measuring scripts: Google Benchmark, and title_watch's and map_watch's X library.
bench_packages=("${runtime_packages[@]}" libbenchmark-dev xvfb xdotool)

fail() { echo "FAIL: $*" >&2; exit 1; }

# ensure_packages PACKAGE...: installs with apt-get those not installed, as root or through sudo.
ensure_packages() {
  local package missing=() sudo=()
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
  done
  ((${#missing[@]})) || return 0
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Missing packages: ${missing[*]}; install them as root." >&2; exit 1; }
    sudo=(sudo)
  fi
  echo "Installing: ${missing[*]}" >&2
  # The i386 ones (wine32:i386) need Debian's i386 architecture first.
  if [[ " ${missing[*]}" == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo[@]}" dpkg --add-architecture i386
  fi
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >&2
}

# build PRESET [cmake --build options...]: configures and builds one of CMakePresets.json's
# configurations, in its folder or in $build_folder when that is set, on every core,
# through ccache where it is installed.
build() {
  local preset=$1 configure=()
  shift
  command -v ccache >/dev/null && configure+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  [ -n "${build_folder:-}" ] && configure+=(-B "$build_folder")
  (cd "$selenial_source" && cmake --preset "$preset" "${configure[@]}" >/dev/null &&
    if [ -n "${build_folder:-}" ]; then cmake --build "$build_folder" -j"$(nproc)" "$@"
    else cmake --build --preset "$preset" -j"$(nproc)" "$@"; fi)
}

# built PRESET TARGET FILE: builds one target of a configuration and prints the path of FILE
# in its folder: the measuring scripts' default program.
built() {
  ensure_packages "${bench_packages[@]}"
  build "$1" --target "$2" >/dev/null
  echo "$selenial_source/build-$1/$3"
}

# make_work: a scratch folder $work, removed at exit after the commands given to at_exit
# (in reverse order), after wine's server and the X server of this script are ended.
make_work() {
  work="$(mktemp -d)"
  exit_commands=()
  trap run_exit_commands EXIT
}
at_exit() { exit_commands+=("$1"); }
run_exit_commands() {
  local i
  for ((i = ${#exit_commands[@]} - 1; i >= 0; i--)); do eval "${exit_commands[i]}" 2>/dev/null || true; done
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then wineserver -k 2>/dev/null || true; fi
  if [ -n "${xvfb:-}" ]; then kill "$xvfb" 2>/dev/null || true; fi
  rm -rf "$work"
}

# poll TRIES COMMAND...: runs the command until it succeeds, at most TRIES times, 0.1 s
# apart; on a busy machine each try takes longer, so the deadline grows with the load.
poll() {
  local tries=$1
  shift
  for _ in $(seq "$tries"); do "$@" && return 0; sleep 0.1; done
  return 1
}

# file_holds FILE 'OD TEXT': whether the file's bytes, as od -c writes them, are the text.
file_holds() { [ -f "$1" ] && [ "$(od -An -c "$1" | tr -s ' ')" = "$2" ]; }

# start_xvfb [SCREEN]: an X server of the script's own (pid $xvfb, default screen 1024x768x24),
# its display in $DISPLAY. Without -noreset it would reset, and drop a program connecting at
# that moment, whenever a client leaves.
start_xvfb() {
  exec 3>"$work/display"
  Xvfb -displayfd 3 -noreset -screen 0 "${1:-1024x768x24}" -nolisten tcp >"$work/xvfb.log" 2>&1 &
  xvfb=$!
  exec 3>&-
  poll 100 test -s "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  DISPLAY=":$(head -n1 "$work/display")"
  export DISPLAY
}

# wait_window NAME [TRIES]: the id of the first shown (mapped) window whose name matches,
# waiting 0.1 s a try (300 tries unless given). A window found before it is mapped cannot
# take the focus yet.
wait_window() {
  local id
  for _ in $(seq "${2:-300}"); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1) && [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.1
  done
  fail "no window named $1"
}

# start_wine [persistent]: a scratch wine prefix in $work, made with wineboot; wine's server
# ends at exit.
start_wine() {
  export WINEPREFIX="$work/prefix" WINEDEBUG=-all
  # Without it wine leaves a dbus-launch running.
  export DBUS_SESSION_BUS_ADDRESS=unix:path=/dev/null
  # No downloads of wine's .NET and HTML engines when the prefix is made.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  mkdir -p "$WINEPREFIX"
  # persistent: one server for all the programs the script starts, as on a desktop where wine is up.
  if [ "${1:-}" = persistent ]; then wineserver -p; fi
  timeout 300 wineboot -i >"$work/wineboot.log" 2>&1 || fail "wineboot failed: $(tail -n 5 "$work/wineboot.log")"
}

# needs TOOL...: skips the test (status 77) unless every tool is on the PATH.
needs() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
  done
}
