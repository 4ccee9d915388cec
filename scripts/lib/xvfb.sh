# A private X server for tests and screenshots; source this file, then:
#   xvfb_start [WxHxD]   starts Xvfb on a free display it picks itself and
#                        exports DISPLAY; status 77 when Xvfb or xdotool is
#                        missing, 1 when the server does not come up
#   wm_start NAME        starts a window manager (openbox, metacity) on it;
#                        status 77 when it is not installed
#   xvfb_stop            ends the window manager and the server
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
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp >"$XVFB_DIR/log" 2>&1 3>"$XVFB_DIR/display" &
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

# Polls up to $2 tenths of a second for a visible window named exactly $1 and
# prints its id.
wait_for_window() {
  local _ id
  for _ in $(seq "$2"); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
