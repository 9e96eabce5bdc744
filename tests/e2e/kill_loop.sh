#!/usr/bin/env bash
# The offset file survives being killed at any moment: starts the real program
# under Xvfb again and again in one folder, types offsets into the setup box
# without pause and kills the program with SIGKILL at a random moment. After
# every kill Selenial.ini holds exactly one whole line that was a box text,
# CR LF included, and at most one temporary file lies beside it; none is left
# once the program has started again.
# With "read-only", the program runs as nobody in a folder nobody may write, over
# a file nobody may: every save is written in place, and after every kill the
# file's first line is a whole box text, CR LF included; the file is never empty.
# Usage: kill_loop.sh program [kills [read-only]]   (default 50)
set -euo pipefail
program="$(realpath "$1")"
kills="${2:-50}"
mode="${3:-}"
source "$(dirname "$0")/x11.sh"
needs Xvfb xdotool setsid
launch=()
if [ "$mode" = read-only ]; then
  # Root would write the folder anyway.
  [ "$(id -u)" = 0 ] || { echo "SKIP: needs root, to run the program as nobody"; exit 77; }
  needs setpriv
  launch=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
make_work
at_exit 'if [ -n "${typist:-}" ]; then kill -- -"$typist"; fi'
at_exit 'if [ -n "${app:-}" ]; then kill -9 "$app"; fi'
start_xvfb
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime" TZ=UTC

fail() { echo "FAIL after kill $kill: $*" >&2; exit 1; }

# Each text is typed over the whole box, one key at a time, and every key is a
# save: the box holds each non-empty beginning of a text in turn.
texts=(3600 -18000 25200 -3600 19800 0 -12600)
declare -A typed=()
for text in "${texts[@]}"; do
  for ((n = 1; n <= ${#text}; n++)); do typed["${text:0:n}"]=1; done
done

run="$work/run"
mkdir "$run"
ini="$run/Selenial.ini"
if [ "$mode" = read-only ]; then
  chmod 755 "$work"
  chown nobody "$work/runtime"
  printf '0\r\n' >"$ini"
  chown nobody:nogroup "$ini"
  [ "$(setpriv --reuid=nobody --regid=nogroup --clear-groups sh -c "touch '$run/x' 2>/dev/null && echo w")" = "" ] ||
    { echo "FAIL: nobody may write the folder" >&2; exit 1; }
fi
temporaries() { find "$run" -maxdepth 1 -name 'Selenial.ini?*' | wc -l; }

changed=0 leftover=0 previous="" kill=0
declare -A seen=()
for ((kill = 1; kill <= kills; kill++)); do
  (cd "$run" && exec "${launch[@]}" "$program" >>"$work/app.log" 2>&1) &
  app=$!
  window=$(timeout 60 xdotool search --sync --onlyvisible --pid "$app" 2>/dev/null | head -n1) ||
    fail "no window"
  (($(temporaries) == 0)) || fail "the start left $(ls "$run")"
  xdotool windowfocus --sync "$window"
  # OK on the About view, then SetUp, which puts the focus into the offset box.
  xdotool key Return alt+s
  # The typist stops between two of its commands, never inside one: a key
  # pressed and not released would stay down in the X server.
  setsid bash -c 'while :; do for t in "${@:2}"; do
      [ -e "$1" ] && exit; xdotool key ctrl+a; xdotool type --delay 3 -- "$t"; done; done' \
    typist "$work/stop" "${texts[@]}" 2>/dev/null &
  typist=$!
  sleep "$(printf '0.%03d' $((RANDOM % 400 + 20)))"
  kill -9 "$app"
  wait "$app" 2>/dev/null || true
  touch "$work/stop"
  wait "$typist" 2>/dev/null || true
  rm "$work/stop"
  typist=""

  if [ -e "$ini" ]; then
    # Read the bytes exactly, trailing line end included.
    content="$(cat "$ini"; printf x)"
    content="${content%x}"
    if [ "$mode" = read-only ]; then
      # Cut short between the write and the cut to length, the file holds the new
      # line followed by the old one's tail.
      line="${content%%$'\r\n'*}"
      [ "$line" != "$content" ] || fail "Selenial.ini holds $(od -An -c "$ini") (no CR LF after its first line)"
    else
      [ "${content: -2}" = $'\r\n' ] || fail "Selenial.ini holds $(od -An -c "$ini") (no CR LF at its end)"
      line="${content%$'\r\n'}"
      case "$line" in *$'\r'* | *$'\n'*) fail "Selenial.ini holds more than one line: $(od -An -c "$ini")" ;; esac
    fi
    [ -n "${typed[$line]:-}" ] || fail "Selenial.ini holds '$line', never a box text"
    seen["$line"]=1
    [ "$content" != "$previous" ] && changed=$((changed + 1))
    previous="$content"
  elif [ -n "$previous" ]; then
    fail "Selenial.ini is gone"
  fi
  count=$(temporaries)
  ((count <= 1)) || fail "$count temporary files: $(ls "$run")"
  leftover=$((leftover + count))
done
kill=$kills

# The next start removes what the last kill left.
(cd "$run" && exec "${launch[@]}" "$program" >>"$work/app.log" 2>&1) &
app=$!
timeout 60 xdotool search --sync --onlyvisible --pid "$app" >/dev/null 2>&1 || fail "no window at the last start"
(($(temporaries) == 0)) || fail "the last start left $(ls "$run")"
kill "$app"
wait "$app" 2>/dev/null || true
app=""

echo "kills: $kills; the file changed between kills $changed times, held ${#seen[@]} different lines;" \
  "$leftover kills left a temporary file, each removed by the next start"
((changed > 0)) || fail "no save reached the file"
echo "1 passed, 0 failed"
