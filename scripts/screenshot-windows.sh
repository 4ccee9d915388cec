#!/usr/bin/env bash
# Takes the README's screenshots on a private X server: the main window with
# a few documents in its list and the settings dialog, in English and in
# Simplified Chinese, the main window after a run and a page of that book in
# the preview (docs/*.png). Builds the Release program folder first unless
# LEAFMILL_PROGRAM_DIR names one.
set -euo pipefail

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
xvfb_start 1024x768x24

shoot() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  sleep 0.5
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$2"
  echo "wrote $2"
}

# A few sample documents for the list; a plain folder name, since the list
# shows full paths.
library="${TMPDIR:-/tmp}/Library"
samples="$library/Documents"
rm -rf "$library"
mkdir -p "$samples" "$library/Books"
for name in "Chapter 1.txt" "Chapter 2.htm" "Chapter 3.txt" "Notes.txt"; do
  for _ in $(seq 400); do printf 'Alice was beginning to get very tired of sitting by her sister.\r\n'; done >"$samples/$name"
done
mkdir -p "$repo/docs"

# shots LANGUAGE SUFFIX [run]: main window and settings; with "run" also the
# main window after an output run into $library/Books.
shots() {
  rm -rf "$work/Leafmill"
  cp -r "$program_dir" "$work/Leafmill"
  # The shipped settings, whatever a built folder's main.ini was changed to.
  cp "$repo/assets/main.ini" "$work/Leafmill/main.ini"
  sed -i -e 's/^BookName=.*/BookName=Alice in Wonderland/' -e "s|^InPutDir=.*|InPutDir=$samples|" \
    -e "s|^OutPutDir=.*|OutPutDir=$library/Books/|" -e "s/^MyLagIndex=.*/MyLagIndex=$1/" "$work/Leafmill/main.ini"
  XDG_CONFIG_HOME="$work/config" "$work/Leafmill/leafmill" >/dev/null 2>&1 &
  app_pid=$!
  main=$(wait_for_window 'Leafmill 1.60')

  # Add Files, then type the names into the dialog's file-name box.
  click_in "$main" 64 264
  sleep 2
  xdotool type --delay 20 '"Chapter 1.txt" "Chapter 2.htm" "Chapter 3.txt" "Notes.txt"'
  xdotool key Return
  sleep 1
  click_in "$main" 60 160
  shoot "$main" "$repo/docs/main-window$2.png"

  click_in "$main" 179 296
  sleep 2
  settings=$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | grep -vx "$main" | tail -1)
  shoot "$settings" "$repo/docs/settings-dialog$2.png"
  xdotool key Escape
  sleep 1

  if [ "${3:-}" = run ]; then
    # Output: the folder dialog opens in the books folder; accept it.
    click_in "$main" 300 296
    sleep 2
    xdotool key Return
    box=$(wait_for_window 'Leafmill')
    sleep 0.5
    xdotool windowactivate --sync "$box" key Return 2>/dev/null || xdotool key Return
    sleep 1
    shoot "$main" "$repo/docs/after-a-run.png"

    # The book just made (in the folder the Output dialog preselected), opened
    # in the preview at its first page.
    click_in "$main" 64 296
    sleep 2
    xdotool type --delay 20 "$library/Alice in Wonderland"
    # The first Return goes into the folder, the second chooses it.
    xdotool key Return
    sleep 1
    xdotool key Return
    sleep 2
    preview=$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | grep -vx "$main" | tail -1)
    xdotool key Down Return
    sleep 0.5
    shoot "$preview" "$repo/docs/preview-page.png"
    xdotool key Escape
  fi
  kill "$app_pid"
  wait "$app_pid" 2>/dev/null || true
  app_pid=""
}

shots English "" run
shots SimplifiedChinese "-chinese"
