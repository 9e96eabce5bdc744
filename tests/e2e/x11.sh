# What the end-to-end tests that drive a program in Xvfb share. Sourced, after
# $work is made.

fail() { echo "FAIL: $*" >&2; exit 1; }
# poll TRIES COMMAND...: runs the command every 0.1 s until it succeeds.
poll() {
  local tries=$1
  shift
  for _ in $(seq "$tries"); do "$@" && return 0; sleep 0.1; done
  return 1
}

# An X server of the test's own, whose pid is $xvfb. Without -noreset it would
# reset, and drop a program connecting at that moment, whenever a client leaves.
start_xvfb() {
  exec 3>"$work/display"
  Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  xvfb=$!
  poll 50 test -s "$work/display" || fail "Xvfb did not start"
  export DISPLAY=":$(head -n1 "$work/display")"
}

# wait_window NAME [TRIES]: the id of the first window whose name matches, waiting
# 0.1 s a try (100 tries unless given).
wait_window() {
  local id
  for _ in $(seq "${2:-100}"); do
    id=$(xdotool search --name "$1" 2>/dev/null | head -n1) && [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.1
  done
  fail "no window named $1"
}
clipboard() { xclip -o -selection clipboard 2>/dev/null || true; }
# Fails unless the clipboard holds a time stamp: two blanks and the present StarDate.
check_stamp() {
  local stamp
  stamp=$(clipboard)
  [ "${stamp:0:2}" = "  " ] || fail "time stamp '$stamp' lacks its two blanks"
  is_present 0 "${stamp:2}" || fail "time stamp '$stamp' is not the present StarDate"
  echo "time stamp: '$stamp'"
}

# The StarDate of a count, as the program writes it.
stardate() {
  local n=$1 sign=' + ' hex
  if ((n < 0)); then sign=' - '; n=$((-n)); fi
  hex=$(printf '%05X' "$n")
  printf '%s%4s.%s' "$sign" "${hex:0:${#hex}-4}" "${hex: -4}"
}
# Seconds since the epoch for an offset, from the system clock alone.
starsecs() { echo $(($(date -u +%s) + 14182937 - $1)); }
# True when $2 is the StarDate of the present moment (give or take a tick) for offset $1.
is_present() {
  local now
  now=$(starsecs "$1")
  for n in $((now - 2)) $((now - 1)) "$now" $((now + 1)); do
    [ "$2" = "$(stardate "$n")" ] && return 0
  done
  return 1
}
