#!/usr/bin/env bash
# What a screen reader sees of the real program, through AT-SPI on a private
# session bus: the windows, the values and their changes, the calculator's result.
set -euo pipefail
program="$(realpath "$1")"
here="$(cd "$(dirname "$0")" && pwd)"
for tool in Xvfb xdotool dbus-run-session /usr/libexec/at-spi-bus-launcher; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "SKIP: python3-pyatspi is not installed"; exit 77; }

work="$(mktemp -d)"
cleanup() {
  kill "${xvfb:-}" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

source "$(dirname "$0")/x11.sh"
start_xvfb

cd "$work"
TZ=UTC QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 dbus-run-session -- \
  bash -c '"$1" >app.log 2>&1 & app=$!; status=0; /usr/bin/python3 "$2"/screen_reader.py || status=$?; kill $app; exit $status' \
  _ "$program" "$here"
