#!/usr/bin/env bash
# Compiles the Windows version record and manifest with the cross resource
# compiler and checks the values that end up in the binary resource.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v x86_64-w64-mingw32-windres >/dev/null || {
  echo "needs x86_64-w64-mingw32-windres (apt-get install binutils-mingw-w64-x86-64)" >&2; exit 1; }
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
cmake -S . -B "$out" -DSELENIAL_UI=OFF -DSELENIAL_TESTS=OFF >/dev/null
# The host's C preprocessor serves, so that the check needs no cross compiler.
x86_64-w64-mingw32-windres --preprocessor=cpp --preprocessor-arg=-DRC_INVOKED \
  "$out/selenial.rc" -O coff -o "$out/selenial.res"
# String values are stored in UTF-16; the icon's PNG bytes are not text, and are skipped.
text="$({ iconv -c -f UTF-16LE -t UTF-8 "$out/selenial.res" 2>/dev/null || true; } | tr -c '[:print:]' '\n')"
for expected in "1.01.0004" "Clock/Calculator for Vantrel system; with time-stamp" "Vantrel"; do
  grep -qF "$expected" <<<"$text" || { echo "FAIL: the resource lacks '$expected'"; exit 1; }
done
# The manifest is stored as it is written, in UTF-8.
for expected in 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' "PerMonitorV2" \
                'name="Vantrel.Selenial" version="1.1.0.4"'; do
  grep -qF "$expected" "$out/selenial.res" || { echo "FAIL: the manifest lacks '$expected'"; exit 1; }
done
echo "selenial.rc compiles: $(stat -c %s "$out/selenial.res") bytes, version 1.01.0004"
