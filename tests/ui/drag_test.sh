#!/usr/bin/env bash
# Drags the main window and the settings dialog by their drawn title bars
# under real window managers (openbox, metacity) with xdotool: a drag moves
# the window, and after the release a plain move of the pointer over the
# title bar leaves it where it is. Skipped (status 77) without Xvfb.
set -uo pipefail

program_dir=${1:?usage: drag_test.sh <program folder>}
. "$(dirname "$0")/../../scripts/lib/xvfb.sh"
[ -x "$program_dir/leafmill" ] || { echo "FAIL: no leafmill in $program_dir"; exit 1; }

work=$(mktemp -d)
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  xvfb_stop
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL ($wm): $*"; exit 1; }

where() { xdotool getwindowgeometry "$1" 2>/dev/null | awk '/Position/ {print $2}'; }
# Waits up to ten seconds for the window to stay put for half a second, then
# prints where it is.
settled() {
  local last="" now _ same=0
  for _ in $(seq 100); do
    now=$(where "$1")
    if [ -n "$now" ] && [ "$now" = "$last" ]; then
      same=$((same + 1))
      [ "$same" -ge 5 ] && { echo "$now"; return; }
    else
      same=0
    fi
    last=$now
    sleep 0.1
  done
  echo "$last"
}
# Presses at x,y of the window, drags by dx,dy in steps and releases.
drag() {
  local id=$1 x=$2 y=$3 dx=$4 dy=$5 i
  eval "$(xdotool getwindowgeometry --shell "$id")"
  xdotool mousemove $((X + x)) $((Y + y))
  sleep 0.2
  xdotool mousedown 1
  for i in 1 2 3 4 5; do
    xdotool mousemove $((X + x + dx * i / 5)) $((Y + y + dy * i / 5))
    sleep 0.05
  done
  sleep 0.1
  xdotool mouseup 1
}
# The same drag while the program is stopped: it sees press, moves and
# release only afterwards, as a busy machine may deliver them.
late_drag() {
  kill -STOP "$app_pid"
  drag "$@"
  kill -CONT "$app_pid"
}
# Moves the pointer along the title bar with no button held.
hover_bar() {
  local id=$1 x
  eval "$(xdotool getwindowgeometry --shell "$id")"
  for x in 120 160 200 240 200 140; do
    xdotool mousemove $((X + x)) $((Y + 10))
    sleep 0.05
  done
  xdotool mousemove $((X + 100)) $((Y + 200))
}
# Drags window $1 and checks that it moved, and stays after the release.
check_drag() {
  local id=$1 what=$2 before after later
  before=$(settled "$id")
  drag "$id" 150 10 120 80
  after=$(settled "$id")
  [ "$after" != "$before" ] || fail "the $what did not move ($before)"
  hover_bar "$id"
  later=$(settled "$id")
  [ "$later" = "$after" ] || fail "the $what followed the pointer after the release: $after -> $later"
  echo "$wm: $what $before -> $after, stays at $later"
}
# A drag the program learns of after the release must not leave the window
# following the pointer.
check_late_drag() {
  local id=$1 what=$2 after later
  late_drag "$id" 150 10 120 80
  after=$(settled "$id")
  hover_bar "$id"
  later=$(settled "$id")
  [ "$later" = "$after" ] || fail "after a late drag the $what followed the pointer: $after -> $later"
  echo "$wm: $what after a late drag stays at $later"
}

ran=0
for wm in openbox metacity; do
  xvfb_start 1280x1024x24 || exit $?
  wm_start "$wm"
  status=$?
  if [ "$status" -eq 77 ]; then xvfb_stop; continue; fi
  [ "$status" -eq 0 ] || fail "no window manager"

  rm -rf "$work/Leafmill"
  cp -r "$program_dir" "$work/Leafmill"
  QT_QPA_PLATFORM=xcb "$work/Leafmill/leafmill" >"$work/$wm.log" 2>&1 &
  app_pid=$!
  main=$(wait_for_window 'Leafmill 1.60') || fail "the main window did not appear"
  check_drag "$main" "main window"
  check_late_drag "$main" "main window"

  # Settings at 179,296 opens the dialog; it drags the same way.
  click_in "$main" 179 296
  dialog=$(wait_for_window 'Settings') || fail "the settings dialog did not open"
  check_drag "$dialog" "settings dialog"

  kill "$app_pid" 2>/dev/null
  wait "$app_pid" 2>/dev/null
  app_pid=""
  xvfb_stop
  ran=$((ran + 1))
done
[ "$ran" -gt 0 ] || { echo "SKIP: neither openbox nor metacity is installed"; exit 77; }
echo "PASS"
