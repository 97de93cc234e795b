#!/usr/bin/env bash
# demo.sh BUILD_DIR PLUGIN_FOLDER WORK_DIR OUT_DIR
# Lays out a browser folder (WORK_DIR/Maxthon) with refhost.exe, the plugin
# folder as Plugin\Tillwick and a profile, then runs the host under Wine. With
# a desktop (DISPLAY set, not CI) it just opens the window; otherwise it runs
# the host's own tour on a private Xvfb and saves a screenshot of each sight
# to OUT_DIR.
set -euo pipefail
[ $# -eq 4 ] || { echo "usage: $0 BUILD_DIR PLUGIN_FOLDER WORK_DIR OUT_DIR" >&2; exit 2; }
build=$1; plugin=$2; work=$3; out=$4
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$work" "$out"
work=$(cd "$work" && pwd); out=$(cd "$out" && pwd)

hostdir="$work/Maxthon"
rm -rf "$hostdir"
mkdir -p "$hostdir/Plugin"
cp "$build/refhost/refhost.exe" "$hostdir/"
cp -r "$plugin" "$hostdir/Plugin/Tillwick"
# The profile: what is built so far, turned on. The tab bar hides while one
# tab is open; the caption is replaced on pages whose title names Wine; the
# first tab is locked at start-up.
printf '%s\r\n' '[General]' 'StartPosition=1' 'StartLeft=40' 'StartTop=30' 'StartWidth=1100' \
  'StartHeight=760' 'HideTabToolTip=1' 'ActivateFirstTab=1' 'StartUpTabLock=1' 'TabToLock=1' \
  'HideStatusBar=1' 'HideTabBar=1' 'HideLastTab=1' 'AlwaysOnTop=1' 'OnTopLeft=420' 'OnTopTop=200' \
  'OnTopWidth=560' 'OnTopHeight=380' 'HideTitle=1' 'HideKeyTitle=1' 'TitleToHide=wine|movie|game' \
  'ToggleFilter=1' 'PasteGo=1' 'LastTabExit=1' >"$hostdir/Plugin/Tillwick/settings.ini"

if [ -n "${DISPLAY:-}" ] && [ -z "${CI:-}" ]; then
  case "$build" in
    *win32*) WINE=$(command -v wine || echo /usr/lib/wine/wine) ;;
    *) WINE=$(command -v wine64 || echo /usr/lib/wine/wine64) ;;
  esac
  cd "$hostdir" && exec "$WINE" ./refhost.exe
fi

state="$work/wine"
session="$here/wine-session.sh"
stop() { bash "$session" stop "$state" >/dev/null 2>&1 || true; }
trap stop EXIT
bash "$session" start "$state"
display=$(cat "$state/display")

tour="$hostdir/tour"
mkdir -p "$tour"
rm -f "$out"/*.png
wintour="Z:$(echo "$tour" | tr / '\\')"
bash "$session" run "$state" "$hostdir/refhost.exe" --tour "$wintour" >"$work/refhost.log" 2>&1 &
host=$!

shots=0
for _ in $(seq 1 900); do  # at most three minutes
  for ready in "$tour"/*.ready; do
    [ -e "$ready" ] || continue
    name=$(basename "$ready" .ready)
    sleep 0.5  # let the last paint reach the screen
    DISPLAY=$display import -window root "$out/$name.png"
    echo "screenshot $out/$name.png"
    shots=$((shots + 1))
    mv "$ready" "$tour/$name.done"
  done
  kill -0 "$host" 2>/dev/null || break
  sleep 0.2
done
if kill -0 "$host" 2>/dev/null; then
  echo "the host did not finish its tour; its log:" >&2; cat "$work/refhost.log" >&2
  kill "$host" 2>/dev/null || true
  exit 1
fi
wait "$host" || { echo "the host failed; its log:" >&2; cat "$work/refhost.log" >&2; exit 1; }
echo "$shots screenshots in $out"
[ "$shots" -ge 3 ]
