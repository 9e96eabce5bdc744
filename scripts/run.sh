#!/usr/bin/env bash
# Sets up, builds and starts the clock in the current folder, where it keeps Selenial.ini.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/setup.sh" build Release -DSELENIAL_TESTS=OFF
exec "$here/build/src/selenial"
