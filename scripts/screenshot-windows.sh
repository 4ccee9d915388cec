#!/usr/bin/env bash
# Takes the README's screenshots of the main window (with a few files in its
# list), of the settings dialog and of the preview of a small book: builds
# the Release program folder, starts
# Leafmill on a private X server and writes docs/main-window.png,
# docs/settings-dialog.png and docs/preview-page.png.
# LEAFMILL_PROGRAM_DIR=<folder> uses an already built program folder instead.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
program_dir=${LEAFMILL_PROGRAM_DIR:-}
if [ -z "$program_dir" ]; then
  "$repo/scripts/setup.sh"
  cmake --preset release -S "$repo" >/dev/null
  cmake --build --preset release
  program_dir="$repo/build/release/Leafmill"
fi

work=$(mktemp -d)
library=""
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work" ${library:+"$library"}
}
trap cleanup EXIT

display=""
for n in $(seq 150 199); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "no free X display" >&2; exit 1; }
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done

wait_for_window() {
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  echo "no window named '$1'" >&2
  return 1
}
# Clicks at x,y inside a window, slowly enough for the drawn buttons.
click_in() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove $((X + $2)) $((Y + $3))
  sleep 0.3
  xdotool mousedown 1
  sleep 0.1
  xdotool mouseup 1
}
shoot() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  sleep 0.5
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$2"
  echo "wrote $2"
}

# A few sample documents for the list, the book name already typed.
# A plain folder name, since the list shows full paths.
library="${TMPDIR:-/tmp}/Library"
samples="$library/Documents"
rm -rf "$library"
mkdir -p "$samples"
for name in "Chapter 1.txt" "Chapter 2.htm" "Notes.rtf" "Appendix.doc"; do printf 'text\r\n' >"$samples/$name"; done
cp -r "$program_dir" "$work/Leafmill"
# The shipped settings, whatever a built folder's main.ini was changed to.
cp "$repo/assets/main.ini" "$work/Leafmill/main.ini"
sed -i -e 's/^BookName=.*/BookName=Alice in Wonderland/' -e "s|^InPutDir=.*|InPutDir=$samples|" "$work/Leafmill/main.ini"

"$work/Leafmill/leafmill" >/dev/null 2>&1 &
app_pid=$!
main=$(wait_for_window 'Leafmill 1.60')

# Add Files, then type the names into the dialog's file-name box.
click_in "$main" 64 264
dialog=$(wait_for_window 'Add source documents')
sleep 0.5
xdotool type --delay 20 '"Chapter 1.txt" "Chapter 2.htm" "Notes.rtf" "Appendix.doc"'
xdotool key Return
sleep 1
click_in "$main" 60 160
mkdir -p "$repo/docs"
shoot "$main" "$repo/docs/main-window.png"

click_in "$main" 179 296
settings=$(wait_for_window 'Settings')
shoot "$settings" "$repo/docs/settings-dialog.png"
xdotool key Escape
sleep 0.5

# A small book with chapters, made by the command line, opened in the preview.
book_source="$work/Alice in Wonderland.txt"
{
  printf 'Chapter 1\r\nDown the Rabbit-Hole\r\n\r\n'
  for i in 1 2 3; do
    printf 'Alice was beginning to get very tired of sitting by her sister on the bank, and of having nothing to do: once or twice she had peeped into the book her sister was reading, but it had no pictures or conversations in it, \xe2\x80\x9cand what is the use of a book,\xe2\x80\x9d thought Alice \xe2\x80\x9cwithout pictures or conversations?\xe2\x80\x9d\r\n\r\n'
  done
  printf 'Chapter 2\r\nThe Pool of Tears\r\n\r\n\xe2\x80\x9cCuriouser and curiouser!\xe2\x80\x9d cried Alice.\r\n'
} >"$book_source"
mkdir -p "$work/books"
"$work/Leafmill/leafmill-cli" --book Alice --out "$work/books" "$book_source" >/dev/null
click_in "$main" 64 296
wait_for_window 'Preview' >/dev/null
sleep 0.5
xdotool type --delay 20 "$work/books/Alice"
xdotool key Return
preview=$(wait_for_window 'Alice')
xdotool key Down Return
sleep 0.5
shoot "$preview" "$repo/docs/preview-page.png"
