#!/usr/bin/env bash
# Takes the README's screenshots on a private X server with a window manager
# (openbox): the main window with a few documents in its list and the
# settings dialog, in English and in Simplified Chinese (there also a
# question and the add-files dialog, in Qt's Chinese), both on a 1280x720
# screen at 200% (QT_SCALE_FACTOR=2), the main window after a run and a page
# of that book in the preview, and the iPod window with that book sent to an
# iPod (docs/*.png). Builds the Release program folder
# first unless LEAFMILL_PROGRAM_DIR names one. The windows are driven by the
# keyboard, as a person without a mouse would.
set -euo pipefail

# The iPod window needs an iPod: run as root, the script goes on in a mount
# namespace of its own, where a folder laid out as an iPod's is mounted in
# /media without the system seeing it. Elsewhere the window is shot empty.
if [ -z "${LEAFMILL_PRIVATE_MEDIA:-}" ] && [ "$(id -u)" = 0 ] && unshare --mount true 2>/dev/null; then
  exec env LEAFMILL_PRIVATE_MEDIA=1 unshare --mount --propagation private "$0" "$@"
fi
if [ -n "${LEAFMILL_PRIVATE_MEDIA:-}" ]; then
  mount -t tmpfs leafmill-media /media
  ipod=/media/reader/IPOD
  mkdir -p "$ipod/iPod_Control/Device" "$ipod/Notes/Lyrics"
  printf 'BoardHwName: iPod M25\nModelNumStr: MA003\n' >"$ipod/iPod_Control/Device/SysInfo"
  for i in $(seq 12); do printf 'Song %s\r\n' "$i" >"$ipod/Notes/Lyrics/Song $i.txt"; done
  printf 'Shopping list\r\n' >"$ipod/Notes/Shopping.txt"
fi

repo=$(cd "$(dirname "$0")/.." && pwd)
program_dir=${LEAFMILL_PROGRAM_DIR:-}
if [ -z "$program_dir" ]; then
  "$repo/scripts/setup.sh"
  cmake --preset release -S "$repo" >/dev/null
  cmake --build --preset release
  program_dir="$repo/build/release/Leafmill"
fi
. "$repo/scripts/lib/xvfb.sh"

work=$(mktemp -d)
library=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  xvfb_stop
  rm -rf "$work" ${library:+"$library"}
}
trap cleanup EXIT
xvfb_start 1280x720x24
wm_start openbox

# shoot WINDOW FILE: the window with the window manager's frame;
# shoot_over WINDOW FILE: the screen where the window is, with what stands
# over it; shoot_screen FILE: all of the screen.
shoot() {
  sleep 0.5
  import -window "$1" -frame "$2"
  echo "wrote $2"
}
shoot_over() {
  local x y w h
  sleep 0.5
  read -r x y w h < <(xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
    /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}')
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$2"
  echo "wrote $2"
}
shoot_screen() {
  sleep 0.5
  import -window root "$1"
  echo "wrote $1"
}
shoot_screen_of() { shoot_screen "$2"; }
# The newest visible window of the program other than the main window, once
# there is one.
other_window() {
  local id
  id=$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | grep -vx "$main" | tail -1)
  [ -n "$id" ] && echo "$id"
}
wait_other() {
  wait_until 60 other_window >/dev/null
  sleep 1
  other_window
}

# choose_folder TITLE FOLDER: the folder typed into the folder dialog of that
# title; a Return goes into the folder, and another chooses it when the
# dialog did not take the first as its choice.
choose_folder() {
  xdotool type --delay 20 "$2"
  xdotool key Return
  sleep 1
  if xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; then
    xdotool key Return
  fi
}

# A few sample documents for the list; a plain folder name, since the list
# shows the folders too.
library="${TMPDIR:-/tmp}/Library"
samples="$library/Documents"
rm -rf "$library"
mkdir -p "$samples" "$library/Books"
for name in "Chapter 1.txt" "Chapter 2.htm" "Chapter 3.txt" "Notes.txt"; do
  for _ in $(seq 400); do printf 'Alice was beginning to get very tired of sitting by her sister.\r\n'; done >"$samples/$name"
done
mkdir -p "$repo/docs"

# start LANGUAGE SCALE: the program on fresh settings, its main window in $main.
start() {
  rm -rf "$work/Leafmill" "$work/config"
  cp -r "$program_dir" "$work/Leafmill"
  # The shipped settings, whatever a built folder's main.ini was changed to.
  cp "$repo/assets/main.ini" "$work/Leafmill/main.ini"
  sed -i -e 's/^BookName=.*/BookName=Alice in Wonderland/' -e "s|^InPutDir=.*|InPutDir=$samples|" \
    -e "s|^OutPutDir=.*|OutPutDir=$library/Books/|" -e "s/^MyLagIndex=.*/MyLagIndex=$1/" "$work/Leafmill/main.ini"
  QT_SCALE_FACTOR=$2 XDG_CONFIG_HOME="$work/config" "$work/Leafmill/leafmill" >/dev/null 2>&1 &
  app_pid=$!
  main=$(wait_for_window 'Leafmill 1.60')
  xdotool windowactivate --sync "$main" 2>/dev/null || true
  sleep 0.5
}
stop() {
  kill "$app_pid"
  wait "$app_pid" 2>/dev/null || true
  app_pid=""
}

# Add Files (Alt+A), the names typed into the dialog's file-name box; then
# the first entry selected: the book name (Alt+N), Tab to the list, Down, Up.
# With a file name, the dialog is shot first.
add_samples() {
  xdotool key alt+a
  dialog=$(wait_other)
  [ -n "${1:-}" ] && shoot "$dialog" "$1"
  xdotool type --delay 20 '"Chapter 1.txt" "Chapter 2.htm" "Chapter 3.txt" "Notes.txt"'
  xdotool key Return
  sleep 1
  xdotool key alt+n Tab Down Up
}

# settings FILE SHOOTER: the settings dialog (Alt+S), shot, then cancelled.
settings() {
  xdotool key alt+s
  "$2" "$(wait_other)" "$1"
  xdotool key Escape
  sleep 1
}

start English 1
add_samples
shoot "$main" "$repo/docs/main-window.png"
settings "$repo/docs/settings-dialog.png" shoot
# Output (Alt+O): the folder dialog opens in the books folder; accept it,
# then the end message.
xdotool key alt+o
wait_other >/dev/null
xdotool key Return
box=$(wait_for_window 'Leafmill')
sleep 0.5
xdotool windowactivate --sync "$box" key Return 2>/dev/null || xdotool key Return
sleep 1
shoot "$main" "$repo/docs/after-a-run.png"
# The book just made (in the folder the Output dialog preselected), opened in
# the preview (Alt+P) at its first page.
xdotool key alt+p
wait_other >/dev/null
choose_folder Preview "$library/Alice in Wonderland"
sleep 2
preview=$(other_window)
# Past the record of the files Leafmill wrote and the contents, to the first page.
xdotool key Down Down Return
sleep 0.5
shoot "$preview" "$repo/docs/preview-page.png"
xdotool key Escape Escape
sleep 1
# The iPod window (Alt+I): Send (Alt+S) puts the book just made on the iPod;
# the end message is answered, then the window is shot.
xdotool windowactivate --sync "$main" key alt+i 2>/dev/null || xdotool key alt+i
ipod_window=$(wait_other)
xdotool key alt+s
wait_other >/dev/null
choose_folder 'Choose the finished book to send to the iPod' "$library/Alice in Wonderland"
box=$(wait_for_window 'Leafmill')
sleep 0.5
xdotool windowactivate --sync "$box" key Return 2>/dev/null || xdotool key Return
sleep 1
shoot "$ipod_window" "$repo/docs/ipod-window.png"
stop

start SimplifiedChinese 1
add_samples "$repo/docs/add-files-chinese.png"
shoot "$main" "$repo/docs/main-window-chinese.png"
settings "$repo/docs/settings-dialog-chinese.png" shoot
# Delete in the list asks before the selected entry goes; the box stands over
# the main window, with Qt's Chinese Yes and No.
xdotool key alt+n Tab Delete
wait_for_window 'Leafmill' >/dev/null
shoot_over "$main" "$repo/docs/question-chinese.png"
xdotool key Escape
sleep 1
xdotool key alt+i
shoot "$(wait_other)" "$repo/docs/ipod-window-chinese.png"
stop

start English 2
add_samples
shoot_screen "$repo/docs/main-window-200.png"
settings "$repo/docs/settings-dialog-200.png" "shoot_screen_of"
stop
