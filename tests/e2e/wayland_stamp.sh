#!/usr/bin/env bash
# Wayland lets no program take a system-wide key; README's shortcut command instead,
# run under weston in Xvfb, puts the stamp where wl-paste reads it.
set -euo pipefail
stardate_dir="$(dirname "$(realpath "$1")")"
source "$(dirname "$0")/x11.sh"
needs Xvfb weston xdotool wl-copy wl-paste
make_work
at_exit 'kill "${weston:-}"'
start_xvfb
export XDG_RUNTIME_DIR="$work/runtime" WAYLAND_DISPLAY=stamp PATH="$stardate_dir:$PATH"
mkdir -m 700 "$XDG_RUNTIME_DIR"
printf '[core]\nidle-time=0\n[shell]\npanel-position=none\nanimation=none\n' >"$work/weston.ini"
weston --backend=x11-backend.so --use-pixman --width=400 --height=300 --socket=stamp --config="$work/weston.ini" \
  >"$work/weston.log" 2>&1 &
weston=$!
poll 100 test -S "$XDG_RUNTIME_DIR/stamp" || fail "weston did not start: $(tail -n3 "$work/weston.log")"
poll 50 eval 'xdotool search --class "^Weston Compositor$" windowfocus --sync >/dev/null 2>&1' || fail "weston has no window"

recipe=$(grep -o "sh -c 'stardate -f %C | wl-copy -n'" "$(dirname "$0")/../../README.md" | head -n1)
[ -n "$recipe" ] || fail "README gives no shortcut command"
env -u DISPLAY bash -c "$recipe" </dev/null >"$work/recipe.log" 2>&1 || fail "the command failed: $(cat "$work/recipe.log")"
paste() { env -u DISPLAY timeout 5 wl-paste -n 2>/dev/null; }
pasted() { local text now; text=$(paste) && now=$(starsecs 0) && for n in $((now - 2)) $((now - 1)) "$now"; do
  [ "$text" = "$(stardate "$n" | tr -d ' ')" ] && return 0; done; return 1; }
poll 100 pasted || fail "wl-paste reads '$(paste)', not the StarDate"
echo "the shortcut's command put '$(paste)' on the Wayland clipboard"
