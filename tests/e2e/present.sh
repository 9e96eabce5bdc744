# The StarDate of the present moment, from the system clock alone, for the end-to-end
# tests to compare the programs' texts with. Sourced.

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
