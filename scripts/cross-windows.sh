#!/usr/bin/env bash
# Cross-builds the Windows program for 32-bit (i686) and 64-bit (x86_64) Windows
# with mingw-w64, together with the tests of the logic and of the handlers; runs
# the tests under wine where wine can run them, and packs
# dist/selenial-VERSION-win32.zip and dist/selenial-VERSION-win64.zip, and the
# installers dist/selenial-VERSION-win32.msi and -win64.msi.
# Usage: scripts/cross-windows.sh [i686] [x86_64]   (default: both)
set -euo pipefail
source "$(dirname "$0")/lib.sh"
cd "$selenial_source"
arches=("$@")
((${#arches[@]})) || arches=(i686 x86_64)
packages=(googletest wixl msitools)
for arch in "${arches[@]}"; do packages+=("g++-mingw-w64-${arch//_/-}-posix"); done
ensure_packages "${packages[@]}"
make_work

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
  folder="build-windows-$arch"
  echo "== $arch"
  build "windows-$arch" >/dev/null
  echo "selenial.exe: $(stat -c %s "$folder/src/selenial.exe") bytes"
  echo "stardate.exe: $(stat -c %s "$folder/src/cli/stardate.exe") bytes"
  if runs "$arch"; then
    [ -d "${WINEPREFIX:-}" ] || start_wine
    ctest --test-dir "$folder" --output-on-failure
  else
    echo "wine cannot run $arch programs here: built, not run"
  fi
  cpack --config "$folder/CPackConfig.cmake" -B dist >/dev/null
  source "$folder/selenial-version.sh"
  bits=64
  [ "$arch" = i686 ] && bits=32
  scripts/make-msi.sh "$arch" "$folder" "dist/selenial-$version-win$bits.msi"
done
rm -rf dist/_CPack_Packages
ls -l dist/*.zip dist/*.msi
