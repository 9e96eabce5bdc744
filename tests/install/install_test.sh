#!/usr/bin/env bash
# Installs under a scratch prefix, validates the desktop entry and the
# metainfo, then packs a .deb and starts the program it holds.
set -euo pipefail
build="$1"
for tool in desktop-file-validate appstreamcli dpkg-deb; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

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
grep -q 'release version="1.1.0.4"' share/metainfo/org.vantrel.selenial.metainfo.xml || fail "metainfo lacks release 1.1.0.4"

cd "$work"
cpack --config "$build/CPackConfig.cmake" -B "$work/package" >/dev/null
deb="$(ls "$work"/package/*.deb)"
[ "$(dpkg-deb -f "$deb" Version)" = "1.1.0.4" ] || fail "package version $(dpkg-deb -f "$deb" Version)"
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "package does not depend on Qt"
dpkg-deb -x "$deb" "$work/root"
[ -x "$work/root/usr/bin/selenial" ] || fail "the package holds no /usr/bin/selenial"
[ -f "$work/root/usr/share/applications/org.vantrel.selenial.desktop" ] || fail "the package holds no desktop entry"
# It starts: still running after two seconds, and it opened its window (it wrote nothing).
mkdir "$work/run" && cd "$work/run"
status=0
QT_QPA_PLATFORM=offscreen timeout 2 "$work/root/usr/bin/selenial" >/dev/null 2>&1 || status=$?
[ "$status" -eq 124 ] || fail "the packaged program ended with $status"
echo "installed, validated and packed $(basename "$deb")"
echo "1 passed, 0 failed"
