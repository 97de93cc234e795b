#!/usr/bin/env bash
# doc-images.sh SHOTS_DIR IMAGES_DIR
# Makes the README's pictures from the demo's screenshots: each is cut to the
# windows on the screen (the desktop around them is one colour) and scaled
# down, so that the committed images stay small.
set -euo pipefail
shots=$1 images=$2
mkdir -p "$images"
# README name <- demo sight
for pair in options:13-options-misc tab-menu:08-tab-menu-close-all page-menu:09-page-menu-other-options; do
  name=${pair%%:*} sight=${pair#*:}
  [ -f "$shots/$sight.png" ] || { echo "doc-images: no $sight.png in $shots" >&2; exit 1; }
  convert "$shots/$sight.png" -trim +repage -resize '640x640>' -strip -colors 128 "$images/$name.png"
  echo "picture $images/$name.png"
done
