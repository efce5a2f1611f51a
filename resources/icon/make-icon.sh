#!/bin/bash
# Draws the launcher icon: a white play arrow inside an amber crosshair on a
# rounded dark tile, transparent outside the tile.
#
# Each size (48, 32, 16) is drawn separately on its own pixel grid, so lines
# sit on whole pixels and the 16x16 stays crisp. Geometry is written in
# target pixels; it is drawn 512x512 and box-averaged down.
# Output: launcher.ico next to this script, three uncompressed 32-bit
# (BGRA) BMP entries. Needs ImageMagick 6.
set -euo pipefail
cd "$(dirname "$0")"
convert=/usr/bin/convert
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

TILE_TOP='#2c3b4d' TILE_BOTTOM='#121920' EDGE='#4a6078'
RING='#f5a524' ARROW='#ffffff'

# draw SIZE TILE RING TICKS ARROW: each argument is MVG in target pixels.
draw() {
  local s=$1 grid
  grid="translate -0.5,-0.5 scale $((512 / s)),$((512 / s))"
  "$convert" -size 512x512 "gradient:$TILE_TOP-$TILE_BOTTOM" -write mpr:tile +delete \
    -size 512x512 xc:none \
    -tile mpr:tile -stroke "$EDGE" -strokewidth 1 -draw "$grid $2" +tile \
    -fill none -stroke "$RING" -draw "$grid $3" -draw "$grid $4" \
    -stroke none -fill "$ARROW" -draw "$grid $5" \
    -filter Box -resize "${s}x${s}" -depth 8 "PNG32:$tmp/$s.png"
}

draw 48 "roundrectangle 1.5,1.5 46.5,46.5 9,9" \
        "stroke-width 4 circle 24,24 24,10" \
        "stroke-width 4 line 24,3 24,9 line 24,39 24,45 line 3,24 9,24 line 39,24 45,24" \
        "polygon 19,15 19,33 34,24"
draw 32 "roundrectangle 1,1 31,31 6,6" \
        "stroke-width 2 circle 16,16 16,6" \
        "stroke-width 2 line 16,2 16,6 line 16,26 16,30 line 2,16 6,16 line 26,16 30,16" \
        "polygon 12,10 12,22 22.5,16"
draw 16 "roundrectangle 0.5,0.5 15.5,15.5 3,3" \
        "stroke-width 1.5 circle 8,8 8,2.75" \
        "stroke-width 2 line 8,1 8,3 line 8,13 8,15 line 1,8 3,8 line 13,8 15,8" \
        "polygon 6,5 6,11 11.5,8"

# Sizes are given explicitly (no icon:auto-resize); ImageMagick stores
# entries below 256 pixels as BMP, with an alpha channel -> 32 bits.
"$convert" "$tmp/48.png" "$tmp/32.png" "$tmp/16.png" -alpha on launcher.ico
