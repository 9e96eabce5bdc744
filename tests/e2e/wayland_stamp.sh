#!/usr/bin/env bash
# Wayland lets no program take a system-wide key, so README gives the desktop a
# shortcut that runs the stardate command instead: its command line, run as the
# shortcut runs it under a real compositor (weston in Xvfb), puts the stamp where
# wl-paste reads it.
set -euo pipefail
stardate_dir="$(dirname "$(realpath "$1")")"
for tool in Xvfb weston xdotool wl-copy wl-paste; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

work="$(mktemp -d)"
cleanup() {
  kill "${weston:-}" "${xvfb:-}" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
source "$(dirname "$0")/x11.sh"
start_xvfb

export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
printf '[core]\nidle-time=0\n[shell]\npanel-position=none\nanimation=none\nstartup-animation=none\n' >"$work/weston.ini"
weston --backend=x11-backend.so --use-pixman --width=400 --height=300 --socket=stamp --idle-time=0 \
  --config="$work/weston.ini" >"$work/weston.log" 2>&1 &
weston=$!
poll 100 test -S "$XDG_RUNTIME_DIR/stamp" || fail "weston did not start: $(tail -n3 "$work/weston.log")"
compositor() { xdotool search --class '^Weston Compositor$' 2>/dev/null | head -n1; }
poll 50 test -n "$(compositor)" || fail "weston has no window"
xdotool windowfocus --sync "$(compositor)"
export WAYLAND_DISPLAY=stamp PATH="$stardate_dir:$PATH"

# The shortcut's command, word for word as README gives it.
recipe=$(grep -o "sh -c 'stardate -f %C | wl-copy -n'" "$(dirname "$0")/../../README.md" | head -n1)
[ -n "$recipe" ] || fail "README gives no shortcut command"
env -u DISPLAY bash -c "$recipe" </dev/null >"$work/recipe.log" 2>&1 || fail "the shortcut's command failed: $(cat "$work/recipe.log")"
pasted() {
  local text now
  text=$(env -u DISPLAY timeout 5 wl-paste -n 2>/dev/null) || return 1
  now=$(starsecs 0)
  for n in $((now - 2)) $((now - 1)) "$now"; do
    [ "$text" = "$(stardate "$n" | tr -d ' ')" ] && return 0
  done
  return 1
}
poll 100 pasted || fail "wl-paste reads '$(env -u DISPLAY timeout 5 wl-paste -n 2>&1)', not the StarDate"
echo "the shortcut's command put '$(env -u DISPLAY wl-paste -n)' on the Wayland clipboard"
