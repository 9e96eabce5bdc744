#!/usr/bin/env bash
# Installs what the clock needs, builds it (into build/) and starts it in the current
# folder, where it keeps Selenial.ini.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
ensure_packages "${runtime_packages[@]}"
build release
# Qt would abort without a display; a platform named outside (offscreen, vnc) needs none.
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]; then
  echo "run.sh: the clock needs a graphical session (no DISPLAY or WAYLAND_DISPLAY here); to try it without one: xvfb-run -a scripts/run.sh" >&2
  exit 1
fi
exec "$selenial_source/build/src/selenial"
