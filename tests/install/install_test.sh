#!/usr/bin/env bash
# Installs under a scratch prefix, validates the desktop entry and the
# metainfo, then packs a .deb, starts the program it holds, and starts it as
# a desktop's menu does, through the entry's Exec line.
set -euo pipefail
build="$1"
source "$(dirname "$0")/../../scripts/lib.sh"
needs desktop-file-validate appstreamcli dpkg-deb gio
source "$build/selenial-version.sh"
make_work

cmake --install "$build" --prefix "$work/prefix" >/dev/null
cd "$work/prefix"
for file in bin/selenial share/applications/org.vantrel.selenial.desktop \
            share/metainfo/org.vantrel.selenial.metainfo.xml \
            share/icons/hicolor/scalable/apps/org.vantrel.selenial.svg \
            share/icons/hicolor/32x32/apps/org.vantrel.selenial.png; do
  [ -f "$file" ] || fail "$file is not installed"
done
desktop-file-validate share/applications/org.vantrel.selenial.desktop
appstreamcli validate --no-net --pedantic share/metainfo/org.vantrel.selenial.metainfo.xml
grep -q "release version=\"$version\"" share/metainfo/org.vantrel.selenial.metainfo.xml || fail "metainfo lacks release $version"
grep -q '<project_license>MIT</project_license>' share/metainfo/org.vantrel.selenial.metainfo.xml ||
  fail "metainfo does not give the MIT licence"

cd "$work"
cpack --config "$build/CPackConfig.cmake" -B "$work/package" >/dev/null
deb="$(ls "$work"/package/*.deb)"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version $(dpkg-deb -f "$deb" Version)"
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "package does not depend on Qt"
dpkg-deb -x "$deb" "$work/root"
[ -x "$work/root/usr/bin/selenial" ] || fail "the package holds no /usr/bin/selenial"
[ -f "$work/root/usr/share/applications/org.vantrel.selenial.desktop" ] || fail "the package holds no desktop entry"
dpkg-deb -f "$deb" Recommends | grep -qw qt6-wayland || fail "the package does not recommend qt6-wayland"
file "$work/root/usr/bin/selenial" | grep -q ', stripped' || fail "the packaged program is not stripped"
# Debian's machine-readable copyright file, with the terms of LICENSE.
copyright="$work/root/usr/share/doc/selenial/copyright"
[ -f "$copyright" ] || fail "the package holds no /usr/share/doc/selenial/copyright"
[ "$(head -n1 "$copyright")" = "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ] ||
  fail "the copyright file is not in Debian's machine-readable format"
grep -qx 'Copyright: 2026 Vantrel' "$copyright" || fail "the copyright file does not name 2026 Vantrel"
[ "$(sed -n '/^ Permission/,$p' "$copyright" | sed 's/^ //; s/^\.$//')" = "$(sed -n '/^Permission/,$p' "$selenial_source/LICENSE")" ] ||
  fail "the copyright file's terms are not those of LICENSE"
# The command beside the clock: the program, both manual pages, and its bash completion.
root="$work/root/usr"
[ "$("$root/bin/stardate" --at @952887250)" = ' + 39A4.51EB' ] || fail "the packaged stardate does not run"
file "$root/bin/stardate" | grep -q ', stripped' || fail "the packaged stardate is not stripped"
for page in stardate selenial; do
  MANPATH="$root/share/man" MANWIDTH=80 man "$page" 2>&1 | grep -q "^NAME" || fail "man $page shows no page"
done
completion=$(bash -c 'source "$1"; COMP_WORDS=(stardate --f); COMP_CWORD=1; _stardate; echo "${COMPREPLY[*]}"' _ \
  "$root/share/bash-completion/completions/stardate")
[ "$completion" = "--follow --format" ] || fail "the completion of 'stardate --f' gives '$completion'"

# It starts: still running after two seconds, and it opened its window (it wrote nothing).
mkdir "$work/run" && cd "$work/run"
status=0
QT_QPA_PLATFORM=offscreen timeout 2 "$work/root/usr/bin/selenial" >/dev/null 2>&1 || status=$?
[ "$status" -eq 124 ] || fail "the packaged program ended with $status"

# Started from the menu (the entry's Exec line, run by gio as a desktop does), it keeps
# Selenial.ini in the per-user settings folder, made when missing. A first start there
# stores "auto"; a stored "3600,60" is the user's, and the program writes it back as
# "3600" at start. A second start leaves what the user made of the file.
program="$work/root/usr/bin/selenial"
launched() {
  local proc
  for proc in /proc/[0-9]*; do
    [ "$(readlink "$proc/exe" 2>/dev/null)" = "$program" ] && echo "${proc#/proc/}"
  done
  return 0
}
at_exit 'kill $(launched)'
mkdir -p "$work/launch" && cd "$work/launch"
home="$work/home folder"
config="$work/my config"
# XDG_CONFIG_HOME (empty: unset) | the folder Selenial.ini belongs in | what is stored there at start (none,
# or "again": what the user made of the file that the first start wrote) | what it holds then, as od -c writes it
cases=("$config|$config/selenial|3600,60|3 6 0 0 \r \n" "|$home/.config/selenial||a u t o \r \n"
  "|$home/.config/selenial|again|- 1 8 0 0 0 \r \n")
for case in "${cases[@]}"; do
  IFS='|' read -r xdg folder stored after <<<"$case"
  [ "$stored" = again ] || { rm -rf "$home" "$config" && mkdir -p "$home"; }
  settings=()
  [ -n "$xdg" ] && settings=(XDG_CONFIG_HOME="$xdg")
  if [ "$stored" = again ]; then
    printf -- '-18000\r\n' >"$folder/Selenial.ini"
  elif [ -n "$stored" ]; then
    mkdir -p "$folder" && printf '%s\r\n' "$stored" >"$folder/Selenial.ini"
  fi
  env -i PATH="$work/root/usr/bin:/usr/bin:/bin" HOME="$home" "${settings[@]}" QT_QPA_PLATFORM=offscreen \
    gio launch "$work/root/usr/share/applications/org.vantrel.selenial.desktop" >/dev/null 2>&1 ||
    fail "gio could not launch the desktop entry"
  pid=""
  poll 100 eval 'pid=$(launched); [ -n "$pid" ]' || fail "the desktop entry started no program"
  cwd=$(readlink "/proc/$pid/cwd")
  [ "$cwd" = "$folder" ] || fail "started from the menu with XDG_CONFIG_HOME '$xdg', it works in $cwd, not $folder"
  poll 100 file_holds "$folder/Selenial.ini" " $after" || fail "$folder/Selenial.ini holds $(od -An -c "$folder/Selenial.ini")"
  kill "$pid"
  poll 100 eval '[ -z "$(launched)" ]' || fail "the program started from the menu did not end"
  stray=$(find "$home" "$work/launch" -name Selenial.ini ! -path "$folder/*")
  [ -z "$stray" ] || fail "Selenial.ini landed in $stray"
done
echo "installed, validated and packed $(basename "$deb")"
echo "1 passed, 0 failed"
