#!/usr/bin/env bash
# The progress page at 50 % in a real engine: the text reads "50%" and the
# filled part is 40 of the 80 pixels wide.
set -euo pipefail
writer=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$writer" "$out"
engine() {
  chromium --headless --no-sandbox --disable-gpu --disable-background-networking --no-first-run \
           --hide-scrollbars --user-data-dir="$out/profile" "$@" "file://$out/progress-50.html" 2>/dev/null
}
dom=$(engine --dump-dom)
for id in empty filled; do
  grep -q "id=\"$id\"[^>]*>50%<" <<<"$dom" || { echo "#$id does not read 50%"; echo "$dom"; exit 1; }
done
engine --screenshot="$out/shot.png" --window-size=200,40 >/dev/null
# One row through the middle of the bar: count the pixels of the filled part's
# colour (the system highlight) among the first 80.
row=$(convert "$out/shot.png" -crop 80x1+0+1 +repage -depth 8 txt:- | tail -n +2)
highlight=$(awk 'NR==2 {print $3}' <<<"$row")
background=$(awk 'END {print $3}' <<<"$row")
filled=$(awk -v c="$highlight" '$3 == c' <<<"$row" | wc -l)
echo "filled: $filled px of colour $highlight; the rest $background"
[ "$highlight" != "$background" ] || { echo "no filled part"; exit 1; }
[ "$filled" -eq 40 ] || { echo "the filled part is $filled px wide, not 40"; exit 1; }
