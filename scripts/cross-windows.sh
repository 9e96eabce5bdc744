#!/usr/bin/env bash
# Cross-builds the Windows program for 32-bit (i686) and 64-bit (x86_64) Windows
# with mingw-w64, together with the tests of the logic and of the handlers; runs
# the tests under wine where wine can run them, and packs
# dist/selenial-1.1.0.4-win32.zip and dist/selenial-1.1.0.4-win64.zip, and the
# installers dist/selenial-1.1.0.4-win32.msi and -win64.msi.
# Usage: scripts/cross-windows.sh [i686] [x86_64]   (default: both)
set -euo pipefail
cd "$(dirname "$0")/.."
arches=("$@")
((${#arches[@]})) || arches=(i686 x86_64)

missing=()
for arch in "${arches[@]}"; do
  command -v "$arch-w64-mingw32-g++-posix" >/dev/null || missing+=("g++-mingw-w64-${arch//_/-}-posix")
done
[ -d /usr/src/googletest ] || missing+=(googletest)
# The installers.
command -v wixl >/dev/null || missing+=(wixl)
command -v msibuild >/dev/null || missing+=(msitools)
if ((${#missing[@]})); then
  [ "$(id -u)" -eq 0 ] || { echo "Missing packages: ${missing[*]}; install them as root." >&2; exit 1; }
  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi

work="$(mktemp -d)"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all DBUS_SESSION_BUS_ADDRESS=unix:path=/dev/null
export WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  if command -v wineserver >/dev/null; then wineserver -k 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# Whether wine here runs programs of this kind: 32-bit ones need wine32.
runs() {
  command -v wine >/dev/null || return 1
  case "$1" in
    x86_64) [ -x /usr/lib/wine/wine64 ] ;;
    i686) [ -x /usr/lib/wine/wine ] ;;
  esac
}

mkdir -p dist
for arch in "${arches[@]}"; do
  build="build-windows-$arch"
  toolchain=cmake/mingw-w64.cmake
  [ "$arch" = i686 ] && toolchain=cmake/mingw-w64-i686.cmake
  echo "== $arch"
  cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DSELENIAL_TESTS=ON -DSELENIAL_GTEST_SOURCE=/usr/src/googletest >/dev/null
  cmake --build "$build" -j"$(nproc)" >/dev/null
  echo "selenial.exe: $(stat -c %s "$build/src/selenial.exe") bytes"
  echo "stardate.exe: $(stat -c %s "$build/src/cli/stardate.exe") bytes"
  if runs "$arch"; then
    [ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1
    ctest --test-dir "$build" --output-on-failure
  else
    echo "wine cannot run $arch programs here: built, not run"
  fi
  cpack --config "$build/CPackConfig.cmake" -B dist >/dev/null
  bits=64
  [ "$arch" = i686 ] && bits=32
  scripts/make-msi.sh "$arch" "$build" \
    "dist/selenial-$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")-win$bits.msi"
done
rm -rf dist/_CPack_Packages
ls -l dist/*.zip dist/*.msi
