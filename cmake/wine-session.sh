#!/usr/bin/env bash
# wine-session.sh start|stop|run STATE_DIR [exe args...]
# start: an Xvfb on a free display, a wineserver that stays up for the whole
#        run and an initialised Wine prefix, all kept in STATE_DIR
# run:   runs a Windows executable there; its exit status is the test's
# stop:  ends the Wine processes of that prefix, then the wineserver and the
#        Xvfb that start began, by the process ids it recorded
set -u

usage() { echo "usage: $0 start|stop|run STATE_DIR [exe args...]" >&2; exit 2; }
[ $# -ge 2 ] || usage
cmd=$1; state=$2; shift 2
mkdir -p "$state" && state=$(cd "$state" && pwd) || exit 1

export WINEPREFIX="$state/prefix" WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko install prompts: nothing here needs them.
export WINEDLLOVERRIDES="mscoree,mshtml="

find_tool() {  # first of the names that exists, on PATH or in Debian's wine folder
  local n
  for n in "$@"; do
    command -v "$n" 2>/dev/null && return 0
    [ -x "/usr/lib/wine/$n" ] && { echo "/usr/lib/wine/$n"; return 0; }
  done
  return 1
}
WINE=$(find_tool wine64 wine) || { echo "wine64 not found" >&2; exit 1; }
# The 32-bit loader (Debian's wine32), for x86 programs in the same prefix.
WINE32=$(find_tool wine) || WINE32=""

# The loader for a Windows executable: wine64 for x64, wine for x86.
loader_for() {
  local off machine
  off=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
  machine=$(od -An -tx2 -j$((off + 4)) -N2 "$1" 2>/dev/null | tr -d ' ')
  if [ "$machine" = "014c" ]; then
    [ -n "$WINE32" ] || { echo "32-bit Wine (wine32:i386) not installed" >&2; return 1; }
    echo "$WINE32"
  else
    echo "$WINE"
  fi
}
# The server binary itself (Debian's "wineserver" is a wrapper that makes it
# exit with its last client), so that its process id is the one we record.
WINESERVER=$(find_tool wineserver64 wineserver) || { echo "wineserver not found" >&2; exit 1; }

# The recorded process in file $1 is still running and is a $2 (a stale
# file from a killed run may name an unrelated process by now).
alive() {
  [ -s "$1" ] || return 1
  local pid comm
  pid=$(cat "$1")
  comm=$(ps -p "$pid" -o comm= 2>/dev/null) || return 1
  case "$comm" in *"$2"*) return 0 ;; *) return 1 ;; esac
}

# Ends the recorded process in file $1 (a $2): politely, then for sure.
end_recorded() {
  local file=$1 name=$2 pid i
  if alive "$file" "$name"; then
    pid=$(cat "$file")
    kill "$pid" 2>/dev/null
    for i in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$pid" 2>/dev/null && kill -9 "$pid" 2>/dev/null
  fi
  rm -f "$file"
}

stop_session() {
  if alive "$state/wineserver.pid" wineserver; then
    # Ends every Wine process of this prefix (and nothing else).
    [ -s "$state/display" ] && export DISPLAY=$(cat "$state/display")
    timeout 30 "$WINESERVER" -k >/dev/null 2>&1
  fi
  end_recorded "$state/wineserver.pid" wineserver
  end_recorded "$state/xvfb.pid" Xvfb
  rm -f "$state/display"
}

start_xvfb() {
  local fdfile="$state/xvfb.displayfd" i n
  rm -f "$fdfile"
  # Xvfb picks a free display itself and writes its number once it accepts
  # clients, which avoids racing other builds for a display number.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
    3>"$fdfile" </dev/null >"$state/xvfb.log" 2>&1 &
  echo $! >"$state/xvfb.pid"
  for i in $(seq 1 100); do
    n=$(tr -dc '0-9' <"$fdfile" 2>/dev/null)
    [ -n "$n" ] && { echo ":$n" >"$state/display"; return 0; }
    alive "$state/xvfb.pid" Xvfb || break
    sleep 0.1
  done
  echo "Xvfb did not start; its log:" >&2
  cat "$state/xvfb.log" >&2
  return 1
}

case "$cmd" in
start)
  stop_session
  command -v Xvfb >/dev/null || { echo "Xvfb not found" >&2; exit 1; }
  start_xvfb || { stop_session; exit 1; }
  export DISPLAY=$(cat "$state/display")
  mkdir -p "$WINEPREFIX"
  "$WINESERVER" -f -p </dev/null >"$state/wineserver.log" 2>&1 &
  echo $! >"$state/wineserver.pid"
  sleep 0.2
  alive "$state/wineserver.pid" wineserver || {
    echo "wineserver did not start; its log:" >&2; cat "$state/wineserver.log" >&2
    stop_session; exit 1; }
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "creating the Wine prefix in $WINEPREFIX"
    if ! "$WINE" wineboot -i </dev/null >"$state/wineboot.log" 2>&1; then
      echo "wineboot failed; its log:" >&2; cat "$state/wineboot.log" >&2
      stop_session; exit 1
    fi
    # A crashing test prints a backtrace and ends instead of opening a dialog
    # that nobody can close on the virtual display.
    "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
      </dev/null >>"$state/wineboot.log" 2>&1
    # No window manager runs on the virtual display: Wine draws the windows'
    # captions and frames itself, so that screenshots show them, and does not
    # wait for a manager to answer when a window is shown or hidden.
    for value in Decorated Managed; do
      "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v "$value" /t REG_SZ /d N /f \
        </dev/null >>"$state/wineboot.log" 2>&1
    done
  fi
  # The desktop process (and the services behind COM) start here, with their
  # output going to a log: a desktop that a test starts keeps that test's
  # output open after it exits, and a program that finds Wine's services
  # gone waits about ten seconds for them.
  "$WINE" explorer.exe /desktop </dev/null >"$state/desktop.log" 2>&1 &
  # Returns once the desktop answers. Right after a new prefix on a busy
  # machine the first call can fail at once: a few tries before giving up.
  tries=0
  until timeout 120 "$WINE" rundll32.exe user32.dll,MessageBeep </dev/null >>"$state/desktop.log" 2>&1; do
    tries=$((tries + 1))
    if [ "$tries" -ge 3 ]; then
      echo "the Wine desktop did not come up; its log:" >&2; cat "$state/desktop.log" >&2
      stop_session; exit 1
    fi
    sleep 2
  done
  echo "wine session ready: display $DISPLAY, prefix $WINEPREFIX"
  ;;
run)
  [ $# -ge 1 ] || usage
  alive "$state/wineserver.pid" wineserver && [ -s "$state/display" ] ||
    { echo "wine session not started (wine-session.sh start $state)" >&2; exit 1; }
  export DISPLAY=$(cat "$state/display")
  exe=$1; shift
  loader=$(loader_for "$exe") || exit 1
  cd "$(dirname "$exe")" || exit 1
  # Output goes through a file: a process the test leaves behind must not
  # keep CTest waiting on an open pipe.
  log=$(mktemp "$state/run.XXXXXX")
  "$loader" "$exe" "$@" </dev/null >"$log" 2>&1 &
  child=$!
  trap 'kill "$child" 2>/dev/null; cat "$log"; rm -f "$log"; exit 124' TERM INT
  wait "$child"
  rc=$?
  cat "$log"
  rm -f "$log"
  exit "$rc"
  ;;
stop)
  stop_session
  echo "wine session stopped"
  ;;
*) usage ;;
esac
