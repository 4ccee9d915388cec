#!/bin/sh
# Builds the controls gallery, runs it on a virtual X screen and saves a
# screenshot as docs/gallery.png. Needs xvfb and imagemagick.
#   scripts/screenshot-gallery.sh [build folder]
set -eu
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$repo/build/gallery"}
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLEAFMILL_BUILD_TESTS=OFF
fi
cmake --build "$build" --target leafmill-gallery -j2

number=99
while [ -e "/tmp/.X$number-lock" ]; do number=$((number + 1)); done
display=:$number
Xvfb "$display" -screen 0 1010x560x24 -nolisten tcp -noreset &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
sleep 1
DISPLAY=$display QT_QPA_PLATFORM=xcb "$build/Leafmill/leafmill-gallery" &
gallery=$!
sleep 3
mkdir -p "$repo/docs"
DISPLAY=$display import -window root "$repo/docs/gallery.png"
kill "$gallery" 2>/dev/null || true
echo "Saved $repo/docs/gallery.png"
