#!/usr/bin/env bash
# Resource bounds on hostile inputs: time and peak resident memory of
# leafmill-cli on
#   - a text source of TEXT_MB megabytes with no line end (cut into 4,000-byte pages),
#   - an HTML page that is one line of HTML_MB megabytes (cut, through its temporary file),
#   - an RTF nested 100,000 groups deep, and one that never closes them,
#   - a .doc whose directory chain and whose WordDocument chain loop.
# Usage: bench/bounds.sh   (TEXT_MB=1024 HTML_MB=200 by default; LEAFMILL_CLI
# names a built tool to use instead of building the bench preset)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
text_mb=${TEXT_MB:-1024}
html_mb=${HTML_MB:-200}
corpus=${LEAFMILL_CORPUS:-$root/../shared/corpus}

if [ -z "${LEAFMILL_CLI:-}" ]; then
  cmake --preset bench -S "$root" >/dev/null
  cmake --build --preset bench >/dev/null
  LEAFMILL_CLI="$root/build/bench/Leafmill/leafmill-cli"
fi
program_dir=$(dirname "$LEAFMILL_CLI")

work=$(mktemp -d "${TMPDIR:-/tmp}/leafmill-bounds.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/out" "$work/temp"
# Pages of 4,000 bytes with a 400-byte window, cut at a line end or a blank.
sed -e 's/^CutTypeIndex=.*/CutTypeIndex=0/' -e 's/^KeepFileSize=.*/KeepFileSize=0/' \
  "$program_dir/main.ini" > "$work/settings.ini"

# measure NAME COMMAND...: one line with wall seconds, peak RSS and exit status.
measure() {
  local name=$1
  shift
  local status=0
  TEMP="$work/temp" /usr/bin/time -f "%e %M" -o "$work/time" "$@" >"$work/stdout" 2>"$work/stderr" || status=$?
  read -r seconds kilobytes < <(tail -1 "$work/time")
  printf '%-34s %8.2f s %8d MB peak RSS  exit %d  %s\n' "$name" "$seconds" $((kilobytes / 1024)) "$status" \
    "$(grep -v '^leafmill-cli: .*warning' "$work/stderr" | head -c 150 | tr '\n' ' ')"
  rm -rf "$work/out"/* "$work/temp"/*
}

echo "inputs in $work"
head -c $((text_mb * 1024 * 1024)) /dev/zero | tr '\0' 'x' > "$work/line.txt"
measure "text, ${text_mb} MB, no line end" "$LEAFMILL_CLI" --settings "$work/settings.ini" --book Line --out "$work/out" "$work/line.txt"
rm -f "$work/line.txt"

{
  printf '<html><head><title>t</title></head><body>'
  head -c $((html_mb * 1024 * 1024 / 32)) /dev/zero | tr '\0' 'w' | sed 's/w/<b>bold<\/b> &amp; text &lt;p&gt; /g'
  printf '</body></html>'
} > "$work/line.html"
measure "HTML, ${html_mb} MB, one line (--text)" "$LEAFMILL_CLI" --settings "$work/settings.ini" --text "$work/line.html"
measure "HTML, ${html_mb} MB, one line (book)" "$LEAFMILL_CLI" --settings "$work/settings.ini" --book Html --out "$work/out" "$work/line.html"
rm -f "$work/line.html"

python3 - "$work" <<'PY'
import sys
work = sys.argv[1]
open(f"{work}/deep.rtf", "w").write("{\\rtf1\\ansi " + "{" * 100000 + "deep" + "}" * 100000 + " shallow}")
open(f"{work}/open.rtf", "w").write("{\\rtf1\\ansi " + "{" * 100000 + "never closed")
PY
measure "RTF, 100,000 groups deep" "$LEAFMILL_CLI" --settings "$work/settings.ini" --text "$work/deep.rtf"
measure "RTF, 100,000 groups never closed" "$LEAFMILL_CLI" --settings "$work/settings.ini" --text "$work/open.rtf"

python3 - "$work" "$corpus/doc/nwe_test05.doc" <<'PY'
import struct, sys
work, source = sys.argv[1], sys.argv[2]
data = bytearray(open(source, "rb").read())
assert struct.unpack_from("<H", data, 0x1E)[0] == 9
def fat_at(sector):
    fat_sector = struct.unpack_from("<I", data, 0x4C + 4 * (sector // 128))[0]
    return 512 * (fat_sector + 1) + 4 * (sector % 128)
def next_of(sector):
    return struct.unpack_from("<I", data, fat_at(sector))[0]
directory = struct.unpack_from("<I", data, 0x30)[0]
loop = bytearray(data)
struct.pack_into("<I", loop, fat_at(directory), directory)
open(f"{work}/directory-loop.doc", "wb").write(loop)
start = None
sector = directory
while start is None and sector < 0xFFFFFFFA:
    for entry in range(4):
        at = 512 * (sector + 1) + 128 * entry
        length = struct.unpack_from("<H", data, at + 64)[0]
        if data[at:at + length - 2].decode("utf-16-le", "replace") == "WordDocument":
            start = struct.unpack_from("<I", data, at + 116)[0]
    sector = next_of(sector)
loop = bytearray(data)
struct.pack_into("<I", loop, fat_at(next_of(start)), start)
open(f"{work}/stream-loop.doc", "wb").write(loop)
PY
measure ".doc, directory chain loops" "$LEAFMILL_CLI" --settings "$work/settings.ini" --text "$work/directory-loop.doc"
measure ".doc, WordDocument chain loops" "$LEAFMILL_CLI" --settings "$work/settings.ini" --text "$work/stream-loop.doc"
