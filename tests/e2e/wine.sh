#!/usr/bin/env bash
# The Windows program, cross-built, under wine in a real X server: the handlers'
# tests, then what e2e.sh checks of the Linux program: StarDate caption, time
# stamp on the X clipboard, the offset setup by keyboard, the calculator; and
# closing the clock ends the program.
# Usage: wine.sh x86_64|i686 BUILD_FOLDER   (the cross build goes there, and stays for the next run)
set -euo pipefail
arch="$1"
build="$(mkdir -p "$2" && cd "$2" && pwd)"
source "$(dirname "$0")/x11.sh"
needs Xvfb xdotool xclip xprop xwininfo openbox trayer wine wineboot wineserver "$arch-w64-mingw32-g++-posix"
[ -d /usr/src/googletest ] || { echo "SKIP: the googletest sources are not installed"; exit 77; }
if [ "$arch" = i686 ] && [ ! -x /usr/lib/wine/wine ]; then echo "SKIP: wine32 is not installed"; exit 77; fi
make_work
export TZ=UTC

build_folder="$build" build "windows-$arch" --target selenial stardate ui_tests win32_face_tests window_peek accessible_peek \
  >"$work/build.log" 2>&1 || fail "the cross build failed: $(tail -n 20 "$work/build.log")"
source "$build/selenial-version.sh"

start_xvfb
start_wine
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

mkdir "$work/run" && cd "$work/run"
wine "$build/src/selenial.exe" >"$work/app.log" 2>&1 &
app=$!

main=$(wait_window '^ini:  0$' 600)
wait_present 0 "$main" caption

xdotool windowfocus --sync "$main"
xdotool key Return
# The value label that shows the StarDate, as a user finds it.
stardate_label() {
  read -r x y < <(clock_centre_of '^Static    [+-] +[0-9A-F]+[.][0-9A-F][0-9A-F][0-9A-F][0-9A-F]$') && [ -n "$x" ]
}
poll 100 stardate_label || fail "Enter did not leave the About view: $(peek "$(xdotool getwindowname "$main")")"
click_until clipboard_changed mousemove --sync "$x" "$y"
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
poll 100 eval 'grep -Eq "^1[*] static text \| +[+-] +[0-9A-F]+[.]" <<<"$(clock_heard)"' ||
  fail "Tab does not reach the StarDate: $(clock_heard)"
echo marker | xclip -i -selection clipboard
poll 50 test "$(clipboard)" = marker || fail "xclip cannot set the clipboard"
xdotool key Return
poll 100 clipboard_changed || fail "Enter on the focused StarDate did not copy"
check_stamp
echo "a screen reader hears each value by its text and title; Tab and Enter copy the StarDate"

xdotool key alt+s
poll 100 eval 'clock_centre_of "^Edit " >/dev/null' || fail "Alt+S showed no offset box: $(peek "$(xdotool getwindowname "$main")")"
xdotool type --delay 30 -- -18000
poll 100 file_holds Selenial.ini " - 1 8 0 0 0 \r \n" || fail "Selenial.ini holds $(od -An -c Selenial.ini)"
box='Enter the difference in seconds between your local time and UTC \(GMT date-time\):'
poll 100 eval 'grep -Eq "^1[*] text \| $box \| -18000 \| " <<<"$(clock_heard)"' ||
  fail "the offset box is not named by its label: $(clock_heard)"
wait_present -18000 "$main" "caption with offset -18000"

xdotool key alt+c
calc=$(wait_window '^Vantrel$' 600)
# Found by its name, it may not be mapped yet.
poll 100 xdotool windowfocus --sync "$calc" 2>/dev/null || fail "the calculator cannot take the focus"
# The focus starts on Close; Tab takes it to the input box, its text selected.
xdotool key Tab
xdotool type --delay 30 86400
converted() { results=$(peek Vantrel | grep '^1 [01] .* Edit ' | cut -d' ' -f6-) && grep -qx '+ 15180.0' <<<"$results"; }
poll 100 converted || fail "no box reads '+ 15180.0': $results"
read -r x y < <(centre_of Vantrel '^Edit [+] 1[.]518 posi-4$') || true
[ -n "${x:-}" ] || fail "no box reads '+ 1.518 posi-4': $results"
copied() { [ "$(clipboard)" = "+ 1.518 posi-4" ]; }
click_until copied mousemove --sync "$x" "$y"
copied || fail "a click on the scientific result copied '$(clipboard)'"
echo "calculator: '+ 15180.0', copied '$(clipboard)'"
[ "$(grep -Ec '^1[*]? text \| (Decimal|Hexadecimal|Hexadecimal scientific) value \| ' <<<"$(heard Vantrel)")" = 3 ] ||
  fail "the calculator's boxes are not named: $(heard Vantrel)"
# The essays' page hides what they cover, and the first page comes back whole.
labels() { heard Vantrel | grep -c '^1 static text | '; }
page=$(labels)
read -r x y < <(centre_of Vantrel '^Button See Also') || true
xdotool mousemove --sync "$x" "$y" click 1
poll 100 eval '[ "$(labels)" = 4 ]' || fail "the essays' page shows $(labels) labels, not the 3 essays and the one below: $(heard Vantrel)"
read -r x y < <(centre_of Vantrel '^Button Back to') || true
xdotool mousemove --sync "$x" "$y" click 1
poll 100 eval '[ "$(labels)" = "$page" ]' || fail "back on the first page $(labels) labels show, not $page"
echo "calculator: its boxes named; the essays' page shows 4 labels, the first page $page"

# The stamp key, Win+Alt+T, types the stamp into another program's window, Win and Alt
# still held, and leaves the clipboard alone.
wine notepad >"$work/notepad.log" 2>&1 &
notepad=$!
pad=$(wait_window ' - Notepad$' 300)
padtitle=$(xdotool getwindowname "$pad")
xdotool windowfocus --sync "$pad"
xdotool keydown super alt
xdotool key t
typed() { peek "$padtitle" | awk '$1 == 1 && $5 == "Edit" { print substr($0, index($0, "Edit") + 5); exit }'; }
stamp_typed() { local text; text=$(typed); [ "${text:0:2}" = "  " ] && is_present -18000 "${text:2}"; }
poll 30 stamp_typed || fail "Win+Alt+T typed '$(typed)' into Notepad, not the StarDate"
xdotool keyup super alt
echo "Win+Alt+T typed into Notepad: '$(typed)'"
[ "$(clipboard)" = "+ 1.518 posi-4" ] || fail "typing the stamp touched the clipboard: '$(clipboard)'"
kill "$notepad" 2>/dev/null || true

kill -0 "$app" 2>/dev/null || fail "the program died"
xdotool windowfocus --sync "$main"
xdotool key alt+F4
# Without a window manager wine waits 2 s for each window it hides to be withdrawn: the
# clock's, and the notification area's own window once the clock's icon leaves it.
poll 150 eval '! kill -0 "$app" 2>/dev/null' || fail "closing the clock did not end the program"
echo "closing the clock ended the program"

# With auto stored, the offset is the system zone's: in Tokyo the caption starts as
# 9 h in days and then is the StarDate of the true UTC moment, where 0 would be 9 h ahead.
mkdir "$work/auto" && cd "$work/auto"
printf 'auto\r\n' >Selenial.ini
TZ=Asia/Tokyo wine "$build/src/selenial.exe" >"$work/auto.log" 2>&1 &
app=$!
main=$(wait_window '^ini:  0[.]375$' 600)
# Nine hours ahead would be the StarDate of the zone's local time, not of the true UTC moment.
wait_present 0 "$main" "auto in Asia/Tokyo: caption 'ini:  0.375', then"
xdotool windowfocus --sync "$main"
xdotool key alt+F4
# Without a window manager wine waits 2 s for each window it hides to be withdrawn: the
# clock's, and the notification area's own window once the clock's icon leaves it.
poll 150 eval '! kill -0 "$app" 2>/dev/null' || fail "closing the clock did not end the program"

# The installer as a user meets it: a silent per-user install, the Start-menu shortcut
# and the setting it seeds; a later build over an edited setting; the uninstall.
for tool in wixl msibuild msiinfo winepath; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/test.sh installs wixl and msitools)"
done
# No menu entries of wine's in the real home for the shortcut.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
for msi in first second; do
  bash "$selenial_source/scripts/make-msi.sh" "$arch" "$build" "$work/$msi.msi" 2>>"$work/msi.log" ||
    fail "the installer did not build: $(tail -n 20 "$work/msi.log")"
done
grep -qx Icon <<<"$(msiinfo tables "$work/first.msi")" &&
  grep -aq $'^ARPPRODUCTICON\tselenial[.]ico' <<<"$(msiinfo export "$work/first.msi" Property)" ||
  fail "the installer gives the installed programs' list no icon"
# Wine's own tools of the package's kind: with 32-bit wine installed too, `wine msiexec`
# is the 32-bit one, which will not install a 64-bit package, and `wine reg` reads the
# 32-bit programs' list.
tool_wine=wine
if [ "$arch" = x86_64 ] && [ -x /usr/lib/wine/wine64 ]; then tool_wine=/usr/lib/wine/wine64; fi
msiexec() { timeout 120 "$tool_wine" msiexec "$@" </dev/null >>"$work/msiexec.log" 2>&1; }
folder() { winepath -u "$(wine cmd /c echo "%$1%" </dev/null 2>/dev/null | tr -d '\r')" 2>/dev/null; }
# The entries of installed programs named Selenial, as "version|publisher" (wine writes them under HKLM).
entries() {
  for root in HKLM HKCU; do
    "$tool_wine" reg query "$root\Software\Microsoft\Windows\CurrentVersion\Uninstall" /s </dev/null 2>/dev/null
  done | tr -d '\r' | awk '/^HKEY/ { if (name == "Selenial") print version "|" publisher; name = version = publisher = "" }
    $1 == "DisplayName" { name = $3 } $1 == "DisplayVersion" { version = $3 } $1 == "Publisher" { publisher = $3 }
    END { if (name == "Selenial") print version "|" publisher }'
}
msiexec /i "$work/first.msi" /qn || fail "msiexec /i exited with $?: $(tail -n 5 "$work/msiexec.log")"
programs="$(folder LOCALAPPDATA)/Programs/Selenial" settings="$(folder APPDATA)/Selenial"
shortcut="$(folder APPDATA)/Microsoft/Windows/Start Menu/Programs/Selenial.lnk"
for file in selenial.exe stardate.exe README.txt LICENSE.txt; do
  [ -f "$programs/$file" ] || fail "the install left no $file in $programs: $(ls "$programs" 2>&1)"
done
cmp -s "$programs/selenial.exe" "$build/src/selenial.exe" || fail "the installed selenial.exe is not the one built"
[ -f "$shortcut" ] || fail "no Start-menu shortcut Selenial"
file_holds "$settings/Selenial.ini" " a u t o \r \n" || fail "the seeded Selenial.ini holds $(od -An -c "$settings/Selenial.ini" 2>&1)"
[ "$(entries)" = "$version|Vantrel" ] || fail "installed programs list '$(entries)', not one Selenial $version by Vantrel"
# The user's own setting, which the program reads only if the shortcut starts it there.
printf '3600\r\n' >"$settings/Selenial.ini"
timeout 30 wine start /unix "$shortcut" </dev/null >"$work/start.log" 2>&1 || fail "the shortcut did not start: $(cat "$work/start.log")"
installed=$(wait_window '^(ini: |[ ][+-][ ])' 600)
# The offset 3600 of the setting in $settings.
wait_present 3600 "$installed" "installed; started through the shortcut in its working folder"
# The menu bar's own message loop (F10) must not stop the clock.
xdotool windowfocus --sync "$installed" key F10
title=$(xdotool getwindowname "$installed")
poll 100 eval '[ "$(xdotool getwindowname "$installed")" != "$title" ]' || fail "the caption stood still while the menu was open"
xdotool key Escape
# Start at login: a shortcut in the Startup folder, which the uninstall takes away.
startup="$(folder APPDATA)/Microsoft/Windows/Start Menu/Programs/StartUp/Selenial.lnk"
xdotool windowfocus --sync "$installed" key alt+w Down Return
poll 100 test -f "$startup" || fail "Start at login made no $startup"
installed_ended() {
  xdotool windowfocus --sync "$installed" key alt+F4
  poll 150 eval '! xdotool search --name "^ [+-] " >/dev/null 2>&1' || fail "the installed program did not end"
}
installed_ended
# As the login starts it: the offset 3600 shows that it runs in the setting's folder.
timeout 30 wine start /unix "$startup" </dev/null >"$work/start.log" 2>&1 || fail "the Startup shortcut did not start: $(cat "$work/start.log")"
installed=$(wait_window '^(ini: |[ ][+-][ ])' 600)
wait_present 3600 "$installed" "started through the Startup shortcut"
installed_ended
msiexec /i "$work/second.msi" /qn || fail "installing the next build exited with $?: $(tail -n 5 "$work/msiexec.log")"
file_holds "$settings/Selenial.ini" " 3 6 0 0 \r \n" || fail "installing again replaced the user's Selenial.ini: $(od -An -c "$settings/Selenial.ini" 2>&1)"
[ "$(entries)" = "$version|Vantrel" ] || fail "after the next build installed programs list '$(entries)', not one Selenial"
msiexec /x "$work/second.msi" /qn || fail "msiexec /x exited with $?: $(tail -n 5 "$work/msiexec.log")"
[ ! -e "$programs" ] || fail "the uninstall left $programs: $(ls "$programs")"
[ ! -e "$shortcut" ] || fail "the uninstall left the shortcut"
[ ! -e "$startup" ] || fail "the uninstall left the start at login's shortcut"
[ -z "$(entries)" ] || fail "the uninstall left the installed programs' entry '$(entries)'"
file_holds "$settings/Selenial.ini" " 3 6 0 0 \r \n" || fail "the uninstall did not keep the user's Selenial.ini"
echo "installed again over the user's Selenial.ini, one entry; uninstalled, Selenial.ini kept"

# The notification icon, docked by wine into a real X tray beside a window manager. The
# tray keeps its width: wine misses the panel's growing and would send it the icon's clicks.
start_tray --widthtype pixel --width 48
# The icon: wine's window inside trayer's socket.
icon() { tray_icon '"explorer.exe"'; }
mkdir "$work/tray" && cd "$work/tray"
wine "$build/src/selenial.exe" >"$work/tray.log" 2>&1 &
app=$!
main=$(wait_window '^ini:  0$' 600)
poll 300 eval '[ -n "$(icon)" ]' || fail "the icon did not dock in trayer: $(xwininfo -root -tree | grep -A4 '"panel"')"
click_icon() { click_tray_icon '"explorer.exe"' "$1"; }
icon_toggles "$main"
echo "icon docked in trayer; a click hides the clock, the next shows it"
# The clock's own windows: a tool tip over the icon is explorer's.
windows() { xdotool search --onlyvisible --classname '^selenial[.]exe$' 2>/dev/null | wc -l; }
# An entry of the icon's menu, chosen by keys once the menu is up.
icon_menu() {
  menu_up windows click_icon 3 || fail "the icon's menu did not open"
  # The menu opens under the pointer, whose first move there would choose an entry.
  xdotool mousemove 10 700
  # Typed while another program holds the X focus, the keys would reach that one.
  poll 100 eval 'xprop -id "$(xdotool getwindowfocus)" WM_CLASS | grep -q "selenial[.]exe"' ||
    fail "the icon's menu has not the keyboard: $(xprop -id "$(xdotool getwindowfocus)" WM_CLASS WM_NAME)"
  xdotool key "$@" Return
}
# Now and then a program's first copy under wine leaves the X clipboard empty (about 2 in
# 5 runs; the label's first copy above is clicked until it takes): the entry is chosen
# again, at most twice more, and each miss said.
copied_by_menu() {
  echo marker | xclip -i -selection clipboard
  poll 50 test "$(clipboard)" = marker || fail "xclip cannot set the clipboard"
  icon_menu Down
  poll 100 clipboard_changed
}
for try in 1 2 3; do
  copied_by_menu && break
  echo "the icon's Copy time stamp left the clipboard '$(clipboard)' (try $try)"
  [ "$try" -lt 3 ] || fail "the icon's Copy time stamp copied nothing"
done
check_stamp
icon_menu Down Down Down Down
poll 100 above "$main" || fail "the icon's Always on top did not set _NET_WM_STATE_ABOVE"
xdotool windowmove --sync "$main" 300 200
left=$(corner "$main")
icon_menu Up
poll 150 eval '! kill -0 "$app" 2>/dev/null' || fail "the icon's Quit did not end the program"
echo "the icon's menu copied the stamp, kept the clock above the others and quit"
wine "$build/src/selenial.exe" >>"$work/tray.log" 2>&1 &
app=$!
main=$(wait_window '^ini:  0$' 600)
poll 100 eval '[ "$(corner "$main")" = "$left" ]' || fail "the clock left at $left opened at $(corner "$main")"
poll 100 above "$main" || fail "the clock left on top opened below others"
xdotool windowfocus --sync "$main" key ctrl+q
poll 150 eval '! kill -0 "$app" 2>/dev/null' || fail "Ctrl+Q did not end the program"
echo "opened again where it was left ($left), on top; Ctrl+Q ended it"
echo "1 passed, 0 failed"
