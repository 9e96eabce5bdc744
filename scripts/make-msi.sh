#!/usr/bin/env bash
# Builds the Windows installer of a cross build with Debian's wixl, then sets with
# msitools' msibuild what wixl 0.101 leaves out of data/selenial.wxs.
# Usage: scripts/make-msi.sh x86_64|i686 BUILD_FOLDER OUTPUT.msi
set -euo pipefail
arch="$1"
build="$(cd "$2" && pwd)"
out="$(realpath -m "$3")"
source="$(cd "$(dirname "$0")/.." && pwd)"
for tool in wixl msibuild msiinfo; do
  command -v "$tool" >/dev/null || { echo "make-msi.sh: $tool is missing (packages wixl, msitools)" >&2; exit 1; }
done
[ -f "$build/selenial-version.sh" ] || { echo "make-msi.sh: no configured build in $build" >&2; exit 1; }
source "$build/selenial-version.sh"

stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
cp "$build/src/selenial.exe" "$build/src/cli/stardate.exe" "$build/README.txt" "$source/data/selenial.ico" "$stage/"
sed 's/\r*$/\r/' "$source/LICENSE" >"$stage/LICENSE.txt"
# The first setting: the offset the system's zone gives.
printf 'auto\r\n' >"$stage/Selenial.ini"

win64=no wixarch=x86
[ "$arch" = x86_64 ] && win64=yes wixarch=x64
# wixl takes the files' sources only relative to its include folders.
# Its warnings that it ignores Permanent and NeverOverwrite are answered below.
# It knows no RemoveFile element either: those rows are put in below.
grep -v '<RemoveFile ' "$source/data/selenial.wxs" >"$stage/selenial.wxs"
(cd "$stage" && wixl -a "$wixarch" -I "$stage" -D Version="$version" -D Win64="$win64" \
  -o "$stage/selenial.msi" "$stage/selenial.wxs" 2>"$stage/wixl.log") ||
  { cat "$stage/wixl.log" >&2; exit 1; }

# What wixl drops: the setting is permanent (16) and never overwritten (128), without
# a word, and the upgrade rule includes its maximum (512), silently.
# A column of the row of a table whose first or last column is `key`.
column() {
  msiinfo export "$stage/selenial.msi" "$1" | tr -d '\r' |
    awk -F'\t' -v key="$2" -v n="$3" 'NR > 3 && ($1 == key || $NF == key) { print $n; exit }'
}
setting="$(column Component Setting 4)"
code="$(column Upgrade OLDERSELENIAL 1)" minimum="$(column Upgrade OLDERSELENIAL 2)"
maximum="$(column Upgrade OLDERSELENIAL 3)" upgrade="$(column Upgrade OLDERSELENIAL 5)"
[ -n "$setting" ] && [ -n "$upgrade" ] || { echo "make-msi.sh: no setting or upgrade rule in wixl's package" >&2; exit 1; }
msibuild "$stage/selenial.msi" -q "UPDATE Component SET Attributes = $((setting | 16 | 128)) WHERE Component = 'Setting'"
# The attributes are part of the upgrade row's key: the row is made anew.
msibuild "$stage/selenial.msi" -q "DELETE FROM Upgrade WHERE ActionProperty = 'OLDERSELENIAL'"
msibuild "$stage/selenial.msi" -q "INSERT INTO Upgrade (UpgradeCode, VersionMin, VersionMax, Attributes, ActionProperty) \
VALUES ('$code', '$minimum', '$maximum', $((upgrade | 512)), 'OLDERSELENIAL')"
# The start at login's shortcut, removed by the uninstall (mode 2).
sed -n 's/.*<RemoveFile Id="\([^"]*\)" Name="\([^"]*\)" On="uninstall".*/\1 \2/p' "$source/data/selenial.wxs" |
  while read -r id name; do
    msibuild "$stage/selenial.msi" -q "INSERT INTO RemoveFile (FileKey, Component_, FileName, DirProperty, InstallMode) \
VALUES ('$id', 'StartAtLogin', '$name', 'StartupFolder', 2)"
  done
mkdir -p "$(dirname "$out")"
mv "$stage/selenial.msi" "$out"
