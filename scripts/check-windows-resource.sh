#!/usr/bin/env bash
# Compiles the Windows version record and manifest with the cross resource
# compiler and checks the values that end up in the binary resource.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
command -v x86_64-w64-mingw32-windres >/dev/null || {
  echo "needs x86_64-w64-mingw32-windres (apt-get install binutils-mingw-w64-x86-64)" >&2; exit 1; }
make_work
cmake -S "$selenial_source" -B "$work" -DSELENIAL_UI=OFF -DSELENIAL_TESTS=OFF >/dev/null
source "$work/selenial-version.sh"
# The written form: minor in two digits, tweak in four (the patch field is not written).
IFS=. read -r major minor _ tweak <<<"$version"
[ "$version_text" = "$(printf '%d.%02d.%04d' "$major" "$minor" "$tweak")" ] ||
  fail "version $version is written '$version_text'"
# The host's C preprocessor serves, so that the check needs no cross compiler.
x86_64-w64-mingw32-windres --preprocessor=cpp --preprocessor-arg=-DRC_INVOKED \
  "$work/selenial.rc" -O coff -o "$work/selenial.res"
# String values are stored in UTF-16; the icon's PNG bytes are not text, and are skipped.
text="$({ iconv -c -f UTF-16LE -t UTF-8 "$work/selenial.res" 2>/dev/null || true; } | tr -c '[:print:]' '\n')"
for expected in "$version_text" "Clock/Calculator for Vantrel system; with time-stamp" "Vantrel"; do
  grep -qF "$expected" <<<"$text" || fail "the resource lacks '$expected'"
done
# The manifest is stored as it is written, in UTF-8.
for expected in 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' "PerMonitorV2" \
                "name=\"Vantrel.Selenial\" version=\"$version\""; do
  grep -qF "$expected" "$work/selenial.res" || fail "the manifest lacks '$expected'"
done
echo "selenial.rc compiles: $(stat -c %s "$work/selenial.res") bytes, version $version_text"
