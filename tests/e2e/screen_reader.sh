#!/usr/bin/env bash
# What a screen reader sees of the real program, through AT-SPI on a private
# session bus: the windows, the values and their changes, the calculator's result;
# what Orca says of the offset box; the local time after the system's zone changes.
set -euo pipefail
program="$(realpath "$1")"
here="$(cd "$(dirname "$0")" && pwd)"
source "$(dirname "$0")/x11.sh"
needs Xvfb xdotool dbus-run-session /usr/libexec/at-spi-bus-launcher orca
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "SKIP: python3-pyatspi is not installed"; exit 77; }
make_work
start_xvfb

cd "$work"
mkdir -m 700 runtime home
# The offset follows the system's zone. Where a mount namespace can be had, the zone
# is a file bound over /etc/localtime, which the test replaces while the program runs.
printf 'auto\r\n' >Selenial.ini
zone=(env TZ=UTC)
if unshare --mount --propagation private true 2>/dev/null; then
  zone=(unshare --mount --propagation private sh -c \
    'mount --bind /usr/share/zoneinfo/Etc/UTC /etc/localtime && exec env -u TZ ZONE_SWITCH=1 "$@"' _)
else
  echo "no mount namespace here: the zone does not change while the program runs"
fi
"${zone[@]}" env XDG_RUNTIME_DIR="$work/runtime" HOME="$work/home" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 dbus-run-session -- \
  bash -c '"$1" >app.log 2>&1 & app=$!; status=0; /usr/bin/python3 "$2"/screen_reader.py || status=$?; kill $app; exit $status' \
  _ "$program" "$here"
