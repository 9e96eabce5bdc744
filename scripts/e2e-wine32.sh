#!/usr/bin/env bash
# The Windows program's end-to-end test on its 32-bit build, under 32-bit wine.
# First installs what that needs: Debian's i386 architecture, wine32 and the i686 cross
# compiler; wine32 is large, so the test command leaves it out.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
ensure_packages wine32:i386 g++-mingw-w64-i686-posix
exec bash "$selenial_source/tests/e2e/wine.sh" i686 "$selenial_source/build-windows-i686"
