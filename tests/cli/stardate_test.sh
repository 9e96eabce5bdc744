#!/usr/bin/env bash
# The stardate command as a process: each row gives the status, then the whole output
# (status 0) or a piece of the one line on stderr (otherwise), then the arguments.
# Leading NAME=value arguments go to the environment; the zone is UTC+07:00 otherwise.
# Usage: stardate_test.sh STARDATE VERSION_FILE   (the build's selenial-version.sh)
set -uo pipefail
prog="$1"
source "$2"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

row() {
  local status="$1" expected="$2" vars=(TZ=Asia/Bangkok) out err code
  shift 2
  while [[ "${1:-}" =~ ^[A-Z_]+= ]]; do vars+=("$1"); shift; done
  out=$(env "${vars[@]}" "$prog" "$@" 2>"$work/err")
  code=$? err=$(cat "$work/err") shown=$(printf "%q " stardate "${@:1:3}")
  if [ "$code" -ne "$status" ]; then
    fail "${shown:0:80}: status $code, not $status ($err)"
  elif [ "$status" -eq 0 ]; then
    [ "$out" = "$expected" ] && [ -z "$err" ] || fail "${shown:0:80}: printed '$out', not '$expected' ($err)"
  else
    [ -z "$out" ] && [ "$(wc -l <"$work/err")" -eq 1 ] && [[ "$err" == "stardate: "*"$expected"* ]] ||
      fail "${shown:0:80}: printed '$out', stderr '$err' does not say '$expected'"
  fi
}

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
long=$(printf '1%.0s' $(seq 32768))

for moment in 2000-03-12T18:54:10Z '2000-03-13 01:54:10+07:00' 2000-03-13T01:54:10 2000.03.12+18:54:10 @952887250; do
  row 0 ' + 39A4.51EB' --at="$moment"
done
row 0 '+39A4.51EB|967070187|2000.03.12+18.54.10|2000.03.13+01.54.10|2000-03-12T18:54:10Z|%' \
  -a @952887250 --format '%C|%s|%u|%l|%i|%%'
# The formats the clock window stamps with, from the table its own test reads: the same text.
while IFS=$'\t' read -r format text; do
  [[ "$format" == "#"* ]] || row 0 "$text" -a @952887250 -f "$format"
done <"$(dirname "$0")/../support/stamp_formats.tsv"
row 0 '-0.0001 -1 1969-07-20T20:17:42Z' -r=-0.0001 -f '%C %s %i'
row 0 '2000-03-12T18:54:10Z' --reverse ' + 39A4.51EB'
row 0 '2000.03.13+01.54.10' --reverse=39a4.51eb --format=%l
row 0 '2026-10-25T00:30:00Z' TZ=Europe/Berlin --at 2026-10-25T02:30:00 -f %i  # repeated: the earlier
row 0 '967070187 s' -a 2000-03-12t12:24:10-06:30 -f '%s s'
row 0 ' - DBC82.FE67' TZ=Etc/GMT-9 --at 0100-01-01T09:00:00
row 0 ' - DBC82.FE67' --at 0100-01-01T00:00:00Z
row 0 '9999-12-31T23:59:59Z' --reverse ' + 3B00CC.AB98'
row 0 $'+ 15180.0\n+ 1.518 posi-4' --hex 86400
row 0 $'- FF.0\n- F.F posi-1' --hex=-255
row 0 $'+ C.0\n+ C.0 posi-0' --hex ' 12	'
row 0 '86400' --decimal '+ 15180.0'
row 0 '0.0009999871253967285' -d '4.189 nega-3'
row 0 '256' --decimal='10.0 posi-1'
row 0 '-255.5' -d '  -  ff.8  '
row 0 '5e-324' -d '4.0 nega-10D'
row 0 '0' -d '1 nega-FFFFFFFFFFFFFFFFFFFF'
row 0 "stardate $version_text" -V
row 2 'not expected: --foo' --foo
row 2 'not expected: x\x0ay' $'x\ny'
row 2 '--at: 1 required MOMENT missing' --at
row 2 "--at '2026-02-30T00:00:00Z': is no day" --at 2026-02-30T00:00:00Z
row 2 "--at '9999-12-31T23:59:60Z': is no time of day" --at 9999-12-31T23:59:60Z
row 2 "--at '10000-01-01T00:00:00Z': lies outside the years" --at 10000-01-01T00:00:00Z
row 2 "--at '0100-01-01T00:00:00': lies outside the years" --at 0100-01-01T00:00:00
row 2 'is skipped by the local time zone' TZ=Europe/Berlin --at '2026-03-29 02:30:00'
row 2 'is skipped by the local time zone' TZ=Pacific/Apia --at 2011-12-30T12:00:00  # a whole day
row 2 "--at '2000-03-12T18:54:10+24:00': has no such offset" --at 2000-03-12T18:54:10+24:00
row 2 "--at '2000-03-12T18:54:10+0700': not a moment" --at 2000-03-12T18:54:10+0700
row 2 "--at '18:54:10': not a moment" --at 18:54:10
row 2 "--reverse '39A4.51E': has 3 digits after the point" --reverse 39A4.51E
row 2 "--reverse ' + 3B00CC.AB99': lies outside the years" --reverse ' + 3B00CC.AB99'
row 2 '--reverse: the text is longer than 32767 characters' --reverse "$long.0000"
row 2 "--hex '1E999': lies beyond the calculator's range" --hex=1E999
row 2 '--hex: the text is longer than 32767 characters' --hex "$long"
row 2 "--decimal '1 posi-100': lies beyond the range of a double" --decimal '1 posi-100'
row 2 "--decimal 'G': not a hexadecimal number" -d G
row 2 "--decimal 'FF posi4': not a hexadecimal number" -d 'FF posi4'
row 2 "--reverse '.51EB': not a StarDate" --reverse .51EB
row 2 '--at excludes --reverse' --at @0 --reverse 0.0000
row 2 '--at excludes --follow' --follow -a @0
row 2 '--format excludes --hex' --hex 1 --format %S
row 2 "--format '%q': has no field %q" -f %q
row 2 "--format 'x%': ends in a lone %" -f x%
row 2 '--at: At Most 1' --at @0 --at @1
# Only a whole number in the option's notation; blanks around it.
for text in nan inf 0x10 '' 1,5 '1 2' 1E5x; do
  row 2 "--hex '$text': not a decimal number" --hex "$text"
done
row 2 "--hex '12\x0a': not a decimal number" --hex $'12\n'
row 2 "--hex '': not a decimal number" --hex=
row 2 "--decimal 'nan': not a hexadecimal number" --decimal nan
# The C locale's blanks anywhere in a StarDate.
row 0 '2000-03-12T18:54:10Z' --reverse $' \t+\t39A4.51EB'
row 0 '2000-03-12T18:54:10Z' -r $'\v39A4.\f51EB\r\n'
# What a terminal would act on is shown escaped, in every message; other text as it is.
row 2 "--at '\x1b[2J\x1b]0;owned\x07': not a moment" --at $'\e[2J\e]0;owned\a'
row 2 "--at '\u009b2J\x7f': not a moment" --at $'\xc2\x9b2J\x7f'
row 2 "--decimal '\xff\xc3(': not a hexadecimal number" -d $'\xff\xc3('
row 2 "--at 'Zürich': not a moment" --at Zürich
row 2 "--at '$(printf 'a%.0s' $(seq 39))ü...': not a moment" --at "$(printf 'a%.0s' $(seq 39))üü"
row 2 'not expected: --\x1b[2J\u009b' $'--\e[2J\xc2\x9b'
row 2 "--format '%\x1b': has no field %\x1b" -f $'%\e'

# The present second, on a clock that stands still.
command -v faketime >/dev/null && row 0 ' + 39A4.51EB 2000.03.12+18.54.10' \
  TZ=UTC FAKETIME='2000-03-12 18:54:10' LD_PRELOAD="$(find /usr/lib -name libfaketime.so.1 | head -n1)" -f '%S %l'

# The help, the manual page and the bash completion name the same options and fields.
data="$(dirname "$0")/../../data"
"$prog" --help >"$work/help"
same() {  # what, the first list, the second list
  [ -n "$2" ] && [ "$(sort <<<"$2")" = "$(sort <<<"$3")" ] || fail "$1: '${2//$'\n'/ }' and '${3//$'\n'/ }' differ"
}
help_options=$(sed -nE 's/^  (-[A-Za-z]), (--[a-z]+).*/\1 \2/p' "$work/help")
help_values=$(sed -nE 's/^  (-[A-Za-z]), (--[a-z]+) [A-Z]+ .*/\1 \2/p' "$work/help")
help_fields=$(sed -nE 's/^ +%(.) .*/\1/p' "$work/help")
same "the help and the manual page's options" "$help_options" \
  "$(sed -nE 's/\\-/-/g; s/^\.B[IR] (-[A-Za-z])[ "].*(--[a-z]+).*/\1 \2/p' "$data/stardate.1.in")"
same "the help and the manual page's fields" "$help_fields" "$(sed -nE 's/^\.B %(.)$/\1/p' "$data/stardate.1.in")"
same "the help and the completion's options" "$(cut -d' ' -f2 <<<"$help_options")" \
  "$(sed -nE 's/.*compgen -W "(--[^"]*)".*/\1/p' "$data/stardate.bash-completion" | tr ' ' '\n')"
same "the help's options with a value and the completion's" "$help_values" \
  "$(grep -E '^ +-[A-Za-z] \| --' "$data/stardate.bash-completion" | grep -oE -- '-[A-Za-z] \| --[a-z]+' | tr -d '|' | tr -s ' ')"
same "the help's fields but %% and the completion's" "$(grep -v '^%$' <<<"$help_fields")" \
  "$(sed -nE '/--format\)/,/return/s/.*compgen -W "([^"]*)".*/\1/p' "$data/stardate.bash-completion" |
    tr ' ' '\n' | sed -nE 's/^%(.)$/\1/p')"
# A StarDate alone reads no zone: scripts start the command often.
if command -v strace >/dev/null; then
  TZ=Asia/Bangkok strace -e trace=open,openat -o "$work/trace" "$prog" >/dev/null
  ! grep -qE 'localtime|zoneinfo' "$work/trace" || fail "stardate read the zone: $(grep -E 'localtime|zoneinfo' "$work/trace")"
  TZ=Asia/Bangkok strace -e trace=open,openat -o "$work/trace" "$prog" -f %l >/dev/null
  grep -q zoneinfo "$work/trace" || fail "the trace shows no zone read for %l"
fi
"$prog" >/dev/full 2>"$work/err"
[ $? -eq 1 ] && grep -q 'cannot write the output' "$work/err" || fail "a full disk is not reported: $(cat "$work/err")"

# --follow: one line a second, none skipped, until the pipe closes or a signal comes.
seconds=$(timeout 10 "$prog" --follow -f %s | head -n 3)
status=${PIPESTATUS[0]}
[ "$status" -eq 0 ] || fail "--follow ended with $status when the pipe closed"
[ "$(echo "$seconds" | awk 'NR > 1 && $1 != last + 1 { bad = 1 } { last = $1 } END { print NR, bad + 0 }')" = "3 0" ] ||
  fail "--follow printed '$seconds'"
for signal in INT TERM; do
  "$prog" -F >"$work/out" 2>"$work/err" & sleep 1.2
  kill -s "$signal" $!
  for _ in $(seq 30); do kill -0 $! 2>/dev/null && sleep 0.1; done
  kill -9 $! 2>/dev/null && fail "SIG$signal did not end --follow"
  wait $!
  status=$?
  [ "$status" -eq 0 ] && [ ! -s "$work/err" ] && [ -s "$work/out" ] || fail "SIG$signal ended --follow with $status"
done

[ "$failures" -eq 0 ] || exit 1
echo "stardate: every row passed"
