#!/usr/bin/env bash
# make-icons.sh OUT_DIR: draws the plugin's icons and progress images with
# ImageMagick, so the package carries only images of our own.
set -euo pipefail
out=$1
mkdir -p "$out"
command -v convert >/dev/null || { echo "ImageMagick's convert is needed" >&2; exit 1; }

# A 16x16 icon: a filled rounded badge in colour $2 with glyph $3 drawn in $4.
badge() {
  convert -size 16x16 xc:none -fill "$2" -stroke '#303030' -strokewidth 1 \
    -draw 'roundrectangle 1,1 14,14 3,3' \
    -fill "$4" -stroke none -font DejaVu-Sans-Bold -pointsize 10 -gravity center \
    -annotate +0+0 "$3" -define icon:auto-resize=16 "$out/$1"
}

# The padlock of secured pages.
convert -size 16x16 xc:none \
  -fill none -stroke '#806000' -strokewidth 2 -draw 'arc 4,1 11,10 180,360' \
  -fill '#e8b400' -stroke '#806000' -strokewidth 1 -draw 'rectangle 2,7 13,14' \
  -fill '#806000' -stroke none -draw 'rectangle 7,9 8,12' \
  -define icon:auto-resize=16 "$out/SSL.ico"

badge zone_local.ico      '#7090c0' 'C' white   # My Computer
badge zone_intranet.ico   '#40a060' 'L' white   # Local Intranet
badge zone_trusted.ico    '#30a030' 'T' white   # Trusted sites
badge zone_internet.ico   '#3070d0' 'I' white   # Internet
badge zone_restricted.ico '#d03030' 'R' white   # Restricted sites

# The progress bar's two halves: an empty trough and a filled bar.
convert -size 100x8 gradient:'#f4f4f4-#d8d8d8' -fill none -stroke '#909090' \
  -draw 'rectangle 0,0 99,7' "$out/Progress_empty.gif"
convert -size 100x8 gradient:'#6ad06a-#208020' -fill none -stroke '#186018' \
  -draw 'rectangle 0,0 99,7' "$out/Progress_filled.gif"
