#!/usr/bin/env bash
# wine-session.sh start|stop|run STATE_DIR [exe args...]
# start: an Xvfb on a free display and an initialised Wine prefix in STATE_DIR
# run:   runs a Windows executable there; its exit status is the test's
# stop:  ends the wineserver and the Xvfb that start began, by their process ids
set -u
cmd=$1; state=$2; shift 2
mkdir -p "$state"
export WINEPREFIX="$state/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
WINE=$(command -v wine64 || echo /usr/lib/wine/wine64)
WINESERVER=$(command -v wineserver || echo /usr/lib/wine/wineserver)

case "$cmd" in
start)
  "$0" stop "$state" >/dev/null 2>&1
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$state/xvfb.log" 2>&1 &
    pid=$!
    for _ in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then
      echo "$pid" >"$state/xvfb.pid"; echo ":$n" >"$state/display"; break
    fi
  done
  [ -s "$state/display" ] || { echo "no free X display for Xvfb" >&2; exit 1; }
  export DISPLAY=$(cat "$state/display")
  "$WINE" wineboot -i >"$state/wineboot.log" 2>&1
  "$WINESERVER" -w
  # Keep one wineserver alive for the whole run; remember it for stop.
  "$WINESERVER" -p >/dev/null 2>&1
  pgrep -n -f "wineserver -p" >"$state/wineserver.pid" 2>/dev/null || true
  echo "wine prefix ready on display $DISPLAY"
  ;;
run)
  [ -s "$state/display" ] || { echo "wine session not started" >&2; exit 1; }
  export DISPLAY=$(cat "$state/display")
  exe=$1; shift
  cd "$(dirname "$exe")" && "$WINE" "$exe" "$@"
  ;;
stop)
  [ -s "$state/display" ] && export DISPLAY=$(cat "$state/display")
  "$WINESERVER" -k >/dev/null 2>&1
  for f in wineserver.pid xvfb.pid; do
    if [ -s "$state/$f" ]; then kill "$(cat "$state/$f")" 2>/dev/null; rm -f "$state/$f"; fi
  done
  rm -f "$state/display"
  echo "wine session stopped"
  ;;
*) echo "usage: $0 start|stop|run STATE_DIR ..." >&2; exit 2 ;;
esac
