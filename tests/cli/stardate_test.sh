#!/usr/bin/env bash
# The stardate command as a process: each row gives the status, then the whole output
# (status 0) or a piece of the one line on stderr (otherwise), then the arguments.
# Leading NAME=value arguments go to the environment; the zone is UTC+07:00 otherwise.
set -uo pipefail
prog="$1"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

row() {
  local status="$1" expected="$2"
  shift 2
  local vars=(TZ=Asia/Bangkok)
  while [[ "${1:-}" =~ ^[A-Z_]+= ]]; do vars+=("$1"); shift; done
  local out err code
  out=$(env "${vars[@]}" "$prog" "$@" 2>"$work/err")
  code=$?
  err=$(cat "$work/err")
  local shown="${*:0:3}"
  if [ "$code" -ne "$status" ]; then fail "stardate ${shown:0:80}: status $code, not $status ($err)"; return; fi
  if [ "$status" -eq 0 ]; then
    [ "$out" = "$expected" ] || fail "stardate ${shown:0:80}: printed '$out', not '$expected'"
    [ -z "$err" ] || fail "stardate ${shown:0:80}: wrote '$err' on stderr"
  else
    [ -z "$out" ] || fail "stardate ${shown:0:80}: printed '$out' on failure"
    [ "$(printf '%s\n' "$err" | wc -l)" -eq 1 ] && [[ "$err" == "stardate: "*"$expected"* ]] ||
      fail "stardate ${shown:0:80}: stderr '$err' does not say '$expected'"
  fi
}

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
long=$(printf '1%.0s' $(seq 32768))

row 0 ' + 39A4.51EB' --at 2000-03-12T18:54:10Z
row 0 ' + 39A4.51EB' --at '2000-03-13 01:54:10+07:00'
row 0 ' + 39A4.51EB' --at 2000-03-13T01:54:10
row 0 ' + 39A4.51EB' --at=2000.03.12+18:54:10
row 0 ' + 39A4.51EB' -a @952887250
row 0 '+39A4.51EB|967070187|2000.03.12+18.54.10|2000.03.13+01.54.10|2000-03-12T18:54:10Z|%' \
  -a @952887250 --format '%C|%s|%u|%l|%i|%%'
row 0 '-0.0001 -1 1969-07-20T20:17:42Z' -r=-0.0001 -f '%C %s %i'
row 0 '2000-03-12T18:54:10Z' --reverse ' + 39A4.51EB'
row 0 '2000.03.13+01.54.10' --reverse=39a4.51eb --format=%l
row 0 '2026-10-25T00:30:00Z' TZ=Europe/Berlin --at 2026-10-25T02:30:00 -f %i
row 0 ' - DBC82.FE67' --at 0100-01-01T00:00:00Z
row 0 '9999-12-31T23:59:59Z' --reverse ' + 3B00CC.AB98'
row 0 $'+ 15180.0\n+ 1.518 posi-4' --hex 86400
row 0 $'- FF.0\n- F.F posi-1' --hex=-255
row 0 $'+ 0.0\n+ 0.0 nega-0' --hex=
row 0 '86400' --decimal '+ 15180.0'
row 0 '-255.5' -d -FF.8
row 0 '0.0009999871253967285' -d '4.189 nega-3'
row 0 '256' --decimal='10.0 posi-1'
row 0 'stardate 1.01.0004' -V
row 2 'not expected: --foo' --foo
row 2 '--at: 1 required MOMENT missing' --at
row 2 "--at '2026-02-30T00:00:00Z': is no day" --at 2026-02-30T00:00:00Z
row 2 "--at '9999-12-31T23:59:60Z': is no time of day" --at 9999-12-31T23:59:60Z
row 2 "--at '10000-01-01T00:00:00Z': lies outside the years" --at 10000-01-01T00:00:00Z
row 2 "--at '0100-01-01T00:00:00': lies outside the years" --at 0100-01-01T00:00:00
row 2 'is skipped by the local time zone' TZ=Europe/Berlin --at '2026-03-29 02:30:00'
row 2 "--at '18:54:10': not a moment" --at 18:54:10
row 2 "--reverse '39A4.51E': has 3 digits after the point" --reverse 39A4.51E
row 2 "--reverse ' + 3B00CC.AB99': lies outside the years" --reverse ' + 3B00CC.AB99'
row 2 '--reverse: the text is longer than 32767 characters' --reverse "$long.0000"
row 2 "--hex '1E999': lies beyond the calculator's range" --hex=1E999
row 2 '--hex: the text is longer than 32767 characters' --hex "$long"
row 2 "--decimal '1 posi-100': lies beyond the range of a double" --decimal '1 posi-100'
row 2 "--decimal 'G': not a hexadecimal number" -d G
row 2 '--at excludes --reverse' --at @0 --reverse 0.0000
row 2 '--at excludes --follow' --follow -a @0
row 2 '--format excludes --hex' --hex 1 --format %S
row 2 "--format '%q': has no field %q" -f %q
row 2 "--format 'x%': ends in a lone %" -f x%
row 2 '--at: At Most 1' --at @0 --at @1

# The present second, on a clock that stands still.
command -v faketime >/dev/null && row 0 ' + 39A4.51EB 2000.03.12+18.54.10' \
  TZ=UTC FAKETIME='2000-03-12 18:54:10' LD_PRELOAD="$(find /usr/lib -name libfaketime.so.1 | head -n1)" -f '%S %l'
"$prog" --help | grep -q -- '--decimal HEXTEXT' || fail "the help does not name --decimal"
"$prog" >/dev/full 2>"$work/err"
[ $? -eq 1 ] && grep -q 'cannot write the output' "$work/err" || fail "a full disk is not reported: $(cat "$work/err")"

# --follow: one line a second, none skipped, until the pipe closes or a signal comes.
seconds=$(timeout 10 "$prog" --follow -f %s | head -n 3)
status=${PIPESTATUS[0]}
[ "$status" -eq 0 ] || fail "--follow ended with $status when the pipe closed"
[ "$(echo "$seconds" | awk 'NR > 1 && $1 != last + 1 { bad = 1 } { last = $1 } END { print NR, bad + 0 }')" = "3 0" ] ||
  fail "--follow printed '$seconds'"
for signal in INT TERM; do
  "$prog" -F >"$work/out" 2>"$work/err" &
  pid=$!
  sleep 1.5
  kill -s "$signal" "$pid"
  wait "$pid"
  status=$?
  [ "$status" -eq 0 ] && [ ! -s "$work/err" ] && [ "$(wc -l <"$work/out")" -ge 1 ] ||
    fail "SIG$signal ended --follow with status $status, stderr '$(cat "$work/err")'"
done

[ "$failures" -eq 0 ] || exit 1
echo "stardate: every row passed"
