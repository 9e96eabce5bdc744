#!/usr/bin/env bash
# The Windows program, cross-built, under wine in a real X server: the handlers'
# tests, then what e2e.sh checks of the Linux program: StarDate caption, time
# stamp on the X clipboard, the offset setup by keyboard, the calculator; and
# closing the clock ends the program.
# Usage: wine.sh x86_64|i686 BUILD_FOLDER   (the cross build goes there, and stays for the next run)
set -euo pipefail
arch="$1"
build="$(mkdir -p "$2" && cd "$2" && pwd)"
source="$(cd "$(dirname "$0")/../.." && pwd)"
toolchain="$source/cmake/mingw-w64.cmake"
[ "$arch" = i686 ] && toolchain="$source/cmake/mingw-w64-i686.cmake"
for tool in Xvfb xdotool xclip wine wineboot wineserver "$arch-w64-mingw32-g++-posix"; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
[ -d /usr/src/googletest ] || { echo "SKIP: the googletest sources are not installed"; exit 77; }
if [ "$arch" = i686 ] && [ ! -x /usr/lib/wine/wine ]; then echo "SKIP: wine32 is not installed"; exit 77; fi

work="$(mktemp -d)"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all DBUS_SESSION_BUS_ADDRESS=unix:path=/dev/null TZ=UTC
# No downloads of wine's .NET and HTML engines when the prefix is made.
export WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  wineserver -k 2>/dev/null || true
  kill "${xvfb:-}" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
source "$(dirname "$0")/x11.sh"

cmake -S "$source" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
  -DSELENIAL_GTEST_SOURCE=/usr/src/googletest >"$work/build.log" 2>&1 &&
  cmake --build "$build" -j2 --target selenial stardate ui_tests win32_face_tests window_peek accessible_peek >>"$work/build.log" 2>&1 ||
  fail "the cross build failed: $(tail -n 20 "$work/build.log")"

start_xvfb

timeout 180 wineboot -i >"$work/wineboot.log" 2>&1 || fail "wineboot failed: $(tail -n 5 "$work/wineboot.log")"
# Without a window manager nothing tells wine of the focus but the X input focus.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseTakeFocus /d N /f >/dev/null 2>&1

wine "$build/tests/ui_tests.exe" --gtest_brief=1 >"$work/ui_tests.log" 2>&1 ||
  fail "the handlers' tests failed under wine: $(tail -n 30 "$work/ui_tests.log")"
echo "handlers' tests under wine: $(grep -o '[0-9]* tests\? from [0-9]* test suites\? ran' "$work/ui_tests.log"), passed"

# The command, a console program: the calculator's conversion, a moment both ways, and
# bad input (status 2, nothing on stdout).
stardate_exe() { wine "$build/src/cli/stardate.exe" "$@" 2>"$work/stardate.err" | tr -d '\r'; }
[ "$(stardate_exe --hex 86400)" = $'+ 15180.0\n+ 1.518 posi-4' ] || fail "stardate.exe --hex 86400: '$(stardate_exe --hex 86400)'"
[ "$(stardate_exe --at 2000-03-12T18:54:10Z)" = ' + 39A4.51EB' ] ||
  fail "stardate.exe --at 2000-03-12T18:54:10Z: '$(stardate_exe --at 2000-03-12T18:54:10Z)'"
[ "$(stardate_exe --reverse ' + 39A4.51EB')" = 2000-03-12T18:54:10Z ] ||
  fail "stardate.exe --reverse ' + 39A4.51EB': '$(stardate_exe --reverse ' + 39A4.51EB')'"
status=0
wine "$build/src/cli/stardate.exe" --at 2026-02-30T00:00:00Z >"$work/stardate.out" 2>"$work/stardate.err" || status=$?
[ "$status" -eq 2 ] && [ ! -s "$work/stardate.out" ] && grep -q -- '--at .*no day' "$work/stardate.err" ||
  fail "stardate.exe --at 2026-02-30T00:00:00Z: status $status, '$(cat "$work/stardate.out" "$work/stardate.err")'"
status=0
wine "$build/src/cli/stardate.exe" --follow | head -n 1 >/dev/null || status=$?
[ "$status" -eq 0 ] || fail "stardate.exe --follow ended with $status when the pipe closed"
echo "stardate.exe under wine: --hex, --at, --reverse, status 2 for a bad day, --follow into a closed pipe"

# The face's colours with high contrast forced on, in a real X server (wine reports it off).
wine "$build/tests/win32_face_tests.exe" --gtest_brief=1 >"$work/face_tests.log" 2>&1 && ! grep -q SKIPPED "$work/face_tests.log" ||
  fail "the face's colour tests failed under wine: $(tail -n 30 "$work/face_tests.log")"
echo "face's colours in and out of high contrast under wine: passed"

peek() { wine "$build/tests/window_peek.exe" "$@" 2>/dev/null | tr -d '\r'; }
# The centre of the shown control of window $1 whose class and text match the pattern $2.
centre_of() { peek "$1" | awk -v pattern="$2" '$1 == 1 && substr($0, index($0, $5)) ~ pattern { print $3, $4; exit }'; }
# The same in the clock, whose title changes every second.
clock_centre_of() {
  local centre
  for _ in 1 2 3; do
    centre=$(centre_of "$(xdotool getwindowname "$main")" "$1") && [ -n "$centre" ] && { echo "$centre"; return; }
  done
}
# Clicks at a point of the screen and waits until the clipboard reads as $3 says.
click_for_clipboard() {
  echo marker | xclip -i -selection clipboard
  poll 30 test "$(clipboard)" = marker || fail "xclip cannot set the clipboard"
  xdotool mousemove --sync "$1" "$2" click 1
  poll 30 "$3" || true
}

mkdir "$work/run" && cd "$work/run"
wine "$build/src/selenial.exe" >"$work/app.log" 2>&1 &
app=$!

main=$(wait_window '^ini:  0$' 300)
sleep 1.5
title=$(xdotool getwindowname "$main")
is_present 0 "$title" || fail "caption '$title' is not the present StarDate $(stardate "$(starsecs 0)")"
echo "caption: '$title'"

xdotool windowfocus --sync "$main"
xdotool key Return
sleep 0.3
# The value label that shows the StarDate, as a user finds it.
read -r x y < <(clock_centre_of '^Static    [+-] +[0-9A-F]+[.][0-9A-F][0-9A-F][0-9A-F][0-9A-F]$') || true
[ -n "${x:-}" ] || fail "Enter did not leave the About view: $(peek "$(xdotool getwindowname "$main")")"
stamped() { [ "$(clipboard)" != marker ]; }
click_for_clipboard "$x" "$y" stamped
check_stamp

# What a screen reader finds: each value named by what it shows and described by its title.
heard() { wine "$build/tests/accessible_peek.exe" "$@" 2>/dev/null | tr -d '\r'; }
# The clock's title changes every second: a title read a moment too early finds no window.
clock_heard() { for _ in 1 2 3; do heard "$(xdotool getwindowname "$main")" | grep . && return; done; }
heard_clock=$(clock_heard) moment='[0-9]{4}[.][0-9]{2}[.][0-9]{2}[+][0-9.]{8}'
for row in '[+-] +[0-9A-F]+[.][0-9A-F]{4} \|  \| The current moment \(posi-4 seconds\)' \
  '[0-9]+ \|  \| The current moment in seconds \(decimal format\)' \
  "$moment \\|  \\| The current moment in GMT \\(UTC\\)   \\[ANSI Format\\]" "$moment \\|  \\| Your time zone  \\(ANSI format\\)"; do
  grep -Eq "^1[*]? static text \| +$row\$" <<<"$heard_clock" || fail "no value reads as /$row/: $heard_clock"
done
# The dialog manager's Tab reaches the StarDate, and Enter there copies the time stamp.
xdotool key Tab
poll 30 eval 'grep -Eq "^1[*] static text \| +[+-] +[0-9A-F]+[.]" <<<"$(clock_heard)"' ||
  fail "Tab does not reach the StarDate: $(clock_heard)"
echo marker | xclip -i -selection clipboard
poll 30 test "$(clipboard)" = marker || fail "xclip cannot set the clipboard"
xdotool key Return
poll 30 stamped || fail "Enter on the focused StarDate did not copy"
check_stamp
echo "a screen reader hears each value by its text and title; Tab and Enter copy the StarDate"

xdotool key alt+s
sleep 0.3
xdotool type --delay 30 -- -18000
sleep 0.3
[ "$(od -An -c Selenial.ini | tr -s ' ')" = " - 1 8 0 0 0 \r \n" ] || fail "Selenial.ini holds $(od -An -c Selenial.ini)"
box='Enter the difference in seconds between your local time and UTC \(GMT date-time\):'
grep -Eq "^1[*] text \| $box \| -18000 \| " <<<"$(clock_heard)" || fail "the offset box is not named by its label: $(clock_heard)"
sleep 1.2
title=$(xdotool getwindowname "$main")
is_present -18000 "$title" || fail "caption '$title' does not follow the offset -18000"
echo "caption with offset -18000: '$title'"

xdotool key alt+c
calc=$(wait_window '^Vantrel$' 300)
# Found by its name, it may not be mapped yet.
poll 50 xdotool windowfocus --sync "$calc" 2>/dev/null || fail "the calculator cannot take the focus"
sleep 0.3
# The focus starts on Close; Tab takes it to the input box, its text selected.
xdotool key Tab
xdotool type --delay 30 86400
sleep 0.3
results=$(peek Vantrel | grep '^1 [01] .* Edit ' | cut -d' ' -f6-)
grep -qx '+ 15180.0' <<<"$results" || fail "no box reads '+ 15180.0': $results"
read -r x y < <(centre_of Vantrel '^Edit [+] 1[.]518 posi-4$') || true
[ -n "${x:-}" ] || fail "no box reads '+ 1.518 posi-4': $results"
copied() { [ "$(clipboard)" = "+ 1.518 posi-4" ]; }
click_for_clipboard "$x" "$y" copied
copied || fail "a click on the scientific result copied '$(clipboard)'"
echo "calculator: '+ 15180.0', copied '$(clipboard)'"
[ "$(grep -Ec '^1[*]? text \| (Decimal|Hexadecimal|Hexadecimal scientific) value \| ' <<<"$(heard Vantrel)")" = 3 ] ||
  fail "the calculator's boxes are not named: $(heard Vantrel)"
# The essays' page hides what they cover, and the first page comes back whole.
labels() { heard Vantrel | grep -c '^1 static text | '; }
page=$(labels)
read -r x y < <(centre_of Vantrel '^Button See Also') || true
xdotool mousemove --sync "$x" "$y" click 1
poll 30 eval '[ "$(labels)" = 4 ]' || fail "the essays' page shows $(labels) labels, not the 3 essays and the one below: $(heard Vantrel)"
read -r x y < <(centre_of Vantrel '^Button Back to') || true
xdotool mousemove --sync "$x" "$y" click 1
poll 30 eval '[ "$(labels)" = "$page" ]' || fail "back on the first page $(labels) labels show, not $page"
echo "calculator: its boxes named; the essays' page shows 4 labels, the first page $page"

kill -0 "$app" 2>/dev/null || fail "the program died"
xdotool windowfocus --sync "$main"
xdotool key alt+F4
poll 50 eval '! kill -0 "$app" 2>/dev/null' || fail "closing the clock did not end the program"
echo "closing the clock ended the program"

# With auto stored, the offset is the system zone's: in Tokyo the caption starts as
# 9 h in days and then is the StarDate of the true UTC moment, where 0 would be 9 h ahead.
mkdir "$work/auto" && cd "$work/auto"
printf 'auto\r\n' >Selenial.ini
TZ=Asia/Tokyo wine "$build/src/selenial.exe" >"$work/auto.log" 2>&1 &
app=$!
main=$(wait_window '^ini:  0[.]375$' 300)
sleep 1.5
title=$(xdotool getwindowname "$main")
is_present 0 "$title" || fail "with auto in Asia/Tokyo the caption '$title' is not the StarDate of the true UTC moment"
echo "auto in Asia/Tokyo: caption 'ini:  0.375', then '$title'"
xdotool windowfocus --sync "$main"
xdotool key alt+F4
poll 50 eval '! kill -0 "$app" 2>/dev/null' || fail "closing the clock did not end the program"

# The installer as a user meets it: a silent per-user install, the Start-menu shortcut
# and the setting it seeds; a later build over an edited setting; the uninstall.
for tool in wixl msibuild msiinfo winepath; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/setup.sh installs wixl and msitools)"
done
# No menu entries of wine's in the real home for the shortcut.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
for msi in first second; do
  bash "$source/scripts/make-msi.sh" "$arch" "$build" "$work/$msi.msi" 2>>"$work/msi.log" ||
    fail "the installer did not build: $(tail -n 20 "$work/msi.log")"
done
grep -qx Icon <<<"$(msiinfo tables "$work/first.msi")" &&
  grep -aq $'^ARPPRODUCTICON\tselenial[.]ico' <<<"$(msiinfo export "$work/first.msi" Property)" ||
  fail "the installer gives the installed programs' list no icon"
msiexec() { timeout 120 wine msiexec "$@" </dev/null >>"$work/msiexec.log" 2>&1; }
folder() { winepath -u "$(wine cmd /c echo "%$1%" </dev/null 2>/dev/null | tr -d '\r')" 2>/dev/null; }
# The entries of installed programs named Selenial, as "version|publisher" (wine writes them under HKLM).
entries() {
  for root in HKLM HKCU; do
    wine reg query "$root\Software\Microsoft\Windows\CurrentVersion\Uninstall" /s </dev/null 2>/dev/null
  done | tr -d '\r' | awk '/^HKEY/ { if (name == "Selenial") print version "|" publisher; name = version = publisher = "" }
    $1 == "DisplayName" { name = $3 } $1 == "DisplayVersion" { version = $3 } $1 == "Publisher" { publisher = $3 }
    END { if (name == "Selenial") print version "|" publisher }'
}
holds() { [ -f "$1" ] && [ "$(od -An -c "$1" | tr -s ' ')" = "$2" ]; }
msiexec /i "$work/first.msi" /qn || fail "msiexec /i exited with $?: $(tail -n 5 "$work/msiexec.log")"
programs="$(folder LOCALAPPDATA)/Programs/Selenial" settings="$(folder APPDATA)/Selenial"
shortcut="$(folder APPDATA)/Microsoft/Windows/Start Menu/Programs/Selenial.lnk"
for file in selenial.exe stardate.exe README.txt LICENSE.txt; do
  [ -f "$programs/$file" ] || fail "the install left no $file in $programs: $(ls "$programs" 2>&1)"
done
cmp -s "$programs/selenial.exe" "$build/src/selenial.exe" || fail "the installed selenial.exe is not the one built"
[ -f "$shortcut" ] || fail "no Start-menu shortcut Selenial"
holds "$settings/Selenial.ini" " a u t o \r \n" || fail "the seeded Selenial.ini holds $(od -An -c "$settings/Selenial.ini" 2>&1)"
[ "$(entries)" = "1.1.0.4|Vantrel" ] || fail "installed programs list '$(entries)', not one Selenial 1.1.0.4 by Vantrel"
# The user's own setting, which the program reads only if the shortcut starts it there.
printf '3600\r\n' >"$settings/Selenial.ini"
timeout 30 wine start /unix "$shortcut" </dev/null >"$work/start.log" 2>&1 || fail "the shortcut did not start: $(cat "$work/start.log")"
installed=$(wait_window '^(ini: |[ ][+-][ ])' 300)
sleep 1.5
title=$(xdotool getwindowname "$installed")
is_present 3600 "$title" || fail "started through the shortcut, the caption '$title' does not follow the offset 3600 in $settings"
echo "installed; started through the shortcut in its working folder: '$title'"
# The menu bar's own message loop (F10) must not stop the clock.
xdotool windowfocus --sync "$installed" key F10
sleep 0.3
title=$(xdotool getwindowname "$installed")
sleep 2.2
[ "$(xdotool getwindowname "$installed")" != "$title" ] || fail "the caption stood still while the menu was open"
xdotool key Escape
xdotool windowfocus --sync "$installed" key alt+F4
poll 50 eval '! xdotool search --name "^ [+-] " >/dev/null 2>&1' || fail "the installed program did not end"
msiexec /i "$work/second.msi" /qn || fail "installing the next build exited with $?: $(tail -n 5 "$work/msiexec.log")"
holds "$settings/Selenial.ini" " 3 6 0 0 \r \n" || fail "installing again replaced the user's Selenial.ini: $(od -An -c "$settings/Selenial.ini" 2>&1)"
[ "$(entries)" = "1.1.0.4|Vantrel" ] || fail "after the next build installed programs list '$(entries)', not one Selenial"
msiexec /x "$work/second.msi" /qn || fail "msiexec /x exited with $?: $(tail -n 5 "$work/msiexec.log")"
[ ! -e "$programs" ] || fail "the uninstall left $programs: $(ls "$programs")"
[ ! -e "$shortcut" ] || fail "the uninstall left the shortcut"
[ -z "$(entries)" ] || fail "the uninstall left the installed programs' entry '$(entries)'"
holds "$settings/Selenial.ini" " 3 6 0 0 \r \n" || fail "the uninstall did not keep the user's Selenial.ini"
echo "installed again over the user's Selenial.ini, one entry; uninstalled, Selenial.ini kept"
echo "1 passed, 0 failed"
