# A private X server for tests and screenshots; source this file, then:
#   xvfb_start [WxHxD]   starts Xvfb on a free display it picks itself and
#                        exports DISPLAY; status 77 when Xvfb or xdotool is
#                        missing, 1 when the server does not come up
#   wm_start NAME        starts a window manager (openbox, metacity) on it;
#                        status 77 when it is not installed
#   xvfb_stop            ends the window manager and the server
#   wait_until SECONDS COMMAND...   retries COMMAND until it succeeds
#   wait_for_window NAME [SECONDS]  prints the id of the window once shown
#   click_in WINDOW X Y  a left click at X,Y inside the window
# Every process is ended by its own id.
XVFB_PID=""
WM_PID=""
XVFB_DIR=""

xvfb_start() {
  local screen=${1:-1024x768x24} tool
  for tool in Xvfb xdotool; do
    if ! command -v "$tool" >/dev/null 2>&1; then
      echo "SKIP: $tool is not installed (scripts/setup.sh installs it)"
      return 77
    fi
  done
  XVFB_DIR=$(mktemp -d)
  # -displayfd: the server takes a free display and writes its number.
  # -noreset: by default the server resets when its last client leaves, and a
  # program started in that moment cannot connect and aborts.
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset >"$XVFB_DIR/log" 2>&1 3>"$XVFB_DIR/display" &
  XVFB_PID=$!
  local _
  for _ in $(seq 100); do [ -s "$XVFB_DIR/display" ] && break; sleep 0.1; done
  [ -s "$XVFB_DIR/display" ] || { echo "Xvfb did not start: $(cat "$XVFB_DIR/log")"; return 1; }
  export DISPLAY=":$(head -1 "$XVFB_DIR/display")"
  for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "Xvfb on $DISPLAY does not answer"
  return 1
}

wm_start() {
  local name=$1 attempt _
  if ! command -v "$name" >/dev/null 2>&1; then
    echo "SKIP: $name is not installed (scripts/setup.sh installs it)"
    return 77
  fi
  # A window manager that gives up at once (the display was busy) is started again.
  for attempt in 1 2 3; do
    case $name in
      metacity) metacity --replace --sm-disable >"$XVFB_DIR/$name.log" 2>&1 & ;;
      *) "$name" >"$XVFB_DIR/$name.log" 2>&1 & ;;
    esac
    WM_PID=$!
    # A window manager announces itself on the root window.
    for _ in $(seq 300); do
      xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
      kill -0 "$WM_PID" 2>/dev/null || break
      sleep 0.1
    done
    wm_stop
    sleep 0.5
  done
  echo "$name did not start: $(cat "$XVFB_DIR/$name.log")"
  return 1
}

wm_stop() {
  if [ -n "$WM_PID" ]; then
    kill "$WM_PID" 2>/dev/null
    wait "$WM_PID" 2>/dev/null
  fi
  WM_PID=""
}

xvfb_stop() {
  wm_stop
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
  fi
  XVFB_PID=""
  [ -n "$XVFB_DIR" ] && rm -rf "$XVFB_DIR"
  XVFB_DIR=""
}

# Runs "$@" until it succeeds or $1 seconds have passed. The waits count
# time, not tries, so that a loaded machine gets as long as an idle one.
wait_until() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -ge "$deadline" ] && return 1
    sleep 0.1
  done
}

# Prints the id of a visible window named exactly $1, waiting for it up to
# $2 seconds (default 120).
visible_window() {
  local id
  id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
  [ -n "$id" ] && echo "$id"
}
wait_for_window() {
  wait_until "${2:-120}" visible_window "$1" || { echo "no window named '$1'" >&2; return 1; }
}

# Clicks at x,y inside window $1, slowly enough for the drawn buttons to
# see the pointer arrive.
click_in() {
  local X Y WIDTH HEIGHT SCREEN WINDOW geometry
  geometry=$(xdotool getwindowgeometry --shell "$1" 2>/dev/null) || return 1
  eval "$geometry"
  xdotool mousemove $((X + $2)) $((Y + $3))
  sleep 0.3
  xdotool mousedown 1
  sleep 0.1
  xdotool mouseup 1
}
