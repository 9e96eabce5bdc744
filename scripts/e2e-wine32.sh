#!/usr/bin/env bash
# The Windows program's end-to-end test on its 32-bit build, under 32-bit wine.
# As root it first installs what that needs: Debian's i386 architecture, wine32
# and the i686 cross compiler; wine32 is large, so the test command leaves it out.
set -euo pipefail
cd "$(dirname "$0")/.."
missing=()
[ -x /usr/lib/wine/wine ] || missing+=(wine32:i386)
command -v i686-w64-mingw32-g++-posix >/dev/null || missing+=(g++-mingw-w64-i686-posix)
if ((${#missing[@]})); then
  [ "$(id -u)" -eq 0 ] || { echo "Missing packages: ${missing[*]}; install them as root." >&2; exit 1; }
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi
exec bash tests/e2e/wine.sh i686 build-windows-i686
