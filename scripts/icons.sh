#!/usr/bin/env bash
# The program's icons from its one drawing, src/ui/icons/selenial.svg: the desktop's PNGs
# of 16 to 256 pixels, the 32-pixel XPM the Qt window shows, and data/selenial.ico with
# every size Windows asks for. Run it after changing the drawing, and commit what it writes.
# Installs what it needs: rsvg-convert (librsvg2-bin), icotool (icoutils), ImageMagick's convert.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
ensure_packages librsvg2-bin icoutils imagemagick
source="$selenial_source"
icons="$source/src/ui/icons"
make_work

for size in 16 20 24 32 40 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" "$icons/selenial.svg" -o "$work/$size.png"
done
# XPM knows no partial transparency: the window's picture has whole pixels only, and the
# desktop's 32-pixel PNG is made from it, so that both show the same pixels.
/usr/bin/convert "$work/32.png" -channel A -threshold 50% +channel "$work/selenial_32.xpm"
sed -e 's/^static .*\[\] = {/static const char* const selenial_32_xpm[] = {/' \
  "$work/selenial_32.xpm" >"$icons/selenial-32.xpm"
/usr/bin/convert "$icons/selenial-32.xpm" -define png:exclude-chunks=date,time "$icons/selenial-32.png"
for size in 16 24 48 64 128 256; do
  cp "$work/$size.png" "$icons/selenial-$size.png"
done
# Windows: the small sizes as bitmaps, 256 as PNG inside the icon file.
icotool -c -o "$source/data/selenial.ico" "$work"/{16,20,24,32,40,48,64}.png -r "$work/256.png"
echo "icons.sh: wrote $(cd "$source" && ls src/ui/icons/selenial-*.png src/ui/icons/selenial-32.xpm data/selenial.ico | tr '\n' ' ')"
