#!/usr/bin/env bash
# Resource bounds on hostile inputs: time and peak resident memory of
# leafmill-cli on
#   - a text source of TEXT_MB megabytes with no line end (cut into 4,000-byte pages),
#   - an HTML page that is one line of HTML_MB megabytes (cut, through its temporary file),
#   - an RTF nested 100,000 groups deep, and one that never closes them,
#   - a .doc whose directory chain and whose WordDocument chain loop,
# and on the documents that once crashed a run, hung it or filled the memory,
# each read with the shipped settings (pages for the Notes reader, contents
# note) beside the bound a source is held to (512 MB + 20 x its size, 10 s +
# 1 s per MB); then how long a stop takes while a reader works, and a PDF cut
# short while it is read.
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

# bounded NAME SOURCE...: a book of the sources with the shipped settings,
# beside the bound of the largest source.
bounded() {
  local name=$1
  shift
  local largest
  largest=$(stat -c %s "$@" | sort -n | tail -1)
  local status=0
  TEMP="$work/temp" /usr/bin/time -f "%e %M" -o "$work/time" "$LEAFMILL_CLI" --settings "$program_dir/main.ini" \
    --book Bounded --out "$work/out" "$@" >"$work/stdout" 2>"$work/stderr" || status=$?
  read -r seconds kilobytes < <(tail -1 "$work/time")
  printf '%-40s %6.2f s (bound %3d s) %5d MB (bound %4d MB)  exit %d  %s\n' "$name" "$seconds" \
    $((10 + largest / 1048576)) $((kilobytes / 1024)) $((512 + 20 * largest / 1048576)) "$status" \
    "$(grep -v 'warning' "$work/stderr" | grep -v 'gave no pages' | head -c 160 | tr '\n' ' ')"
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

echo
echo "Documents that once crashed, hung or filled the memory (shipped settings):"
hostile="$root/tests/fixtures/hostile"
python3 - "$work" "$root/tests/extract/package/cases/epub" <<'PY'
import os, random, sys, zipfile
work, epub = sys.argv[1], sys.argv[2]
open(f"{work}/text.txt", "w").write("A page of text before the next source.\r\n" * 200)
open(f"{work}/empty.txt", "w").write("")
open(f"{work}/headings.html", "w").write("<html><body><p>" + "a " * 600000 + "</p>" + "<h1>a</h1>" * 600000 + "</body></html>")
content = b"q " * 1500000 + b"BT /F 24 Tf 72 720 Td (deep) Tj ET"
open(f"{work}/saves.pdf", "wb").write(
    b"%PDF-1.4\n1 0 obj << /Type /Catalog /Pages 2 0 R >> endobj\n2 0 obj << /Type /Pages /Kids [3 0 R] /Count 1 >> endobj\n"
    b"3 0 obj << /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R >> endobj\n"
    + b"4 0 obj << /Length " + str(len(content)).encode() + b" >> stream\n" + content
    + b"\nendstream endobj\ntrailer << /Root 1 0 R >>\n")
flat = ('<?xml version="1.0"?><office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
        'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" office:mimetype="application/vnd.oasis.opendocument.text">'
        '<office:body><office:text><text:p>' + '<text:s text:c="1024"/>' * 620000 + '</text:p></office:text></office:body></office:document>')
open(f"{work}/spaces.fodt", "w").write(flat)
# 17 MB: two hundred chapters of 100,000 tiny paragraphs, each within the
# package's budget, and a picture.
read = lambda name: open(os.path.join(epub, name)).read()
with zipfile.ZipFile(f"{work}/chapters.epub", "w", zipfile.ZIP_DEFLATED) as z:
    z.writestr(zipfile.ZipInfo("mimetype"), "application/epub+zip")
    z.writestr("META-INF/container.xml", read("META-INF/container.xml"))
    items = "".join(f'<item id="c{i}" href="c{i}.xhtml" media-type="application/xhtml+xml"/>' for i in range(200))
    spine = "".join(f'<itemref idref="c{i}"/>' for i in range(200))
    z.writestr("OEBPS/book.opf", f'<?xml version="1.0"?><package xmlns="http://www.idpf.org/2007/opf" version="3.0">'
               f'<manifest>{items}</manifest><spine>{spine}</spine></package>')
    chapter = read("OEBPS/c1.xhtml").replace("@BODY@", "<p>a</p>" * 100000)
    for i in range(200):
        z.writestr(f"OEBPS/c{i}.xhtml", chapter)
    z.writestr(zipfile.ZipInfo("OEBPS/cover.jpg"), random.randbytes(17 * 1024 * 1024))
PY
bounded "text, then a text with none" "$work/text.txt" "$work/empty.txt"
bounded "ODT, 620,000 runs of 1,024 blanks" "$hostile/spaces.odt"
bounded "flat ODT, the same" "$work/spaces.fodt"
bounded "HTML, 600,000 headings on one line" "$work/headings.html"
bounded "PDF, forms within forms" "$hostile/forms.pdf"
bounded "PDF, 1.5 M unbalanced q" "$work/saves.pdf"
bounded "EPUB, 7.5 M tiny paragraphs" "$hostile/paragraphs.epub"
bounded "EPUB, 17 MB, 20 M tiny paragraphs" "$work/chapters.epub"
bounded "DOCX, text broken off" "$hostile/unreadable.docx"
bounded "PDF, two pages alike" "$hostile/same.pdf"

# A stop while the reader works on the 600,000 headings: seconds from the
# signal to the end of the run.
TEMP="$work/temp" "$LEAFMILL_CLI" --settings "$program_dir/main.ini" --book Stopped --out "$work/out" \
  "$work/text.txt" "$work/headings.html" >/dev/null 2>&1 &
run=$!
sleep 1.5
start=$(date +%s.%N)
kill -INT "$run"
status=0
wait "$run" || status=$?
printf '%-40s %6.2f s from SIGINT to the end, exit %d, %d file(s) left in the temporary folder\n' \
  "Ctrl-C while a reader works" "$(echo "$(date +%s.%N) - $start" | bc)" "$status" "$(find "$work/temp" -type f | wc -l)"
rm -rf "$work/out"/* "$work/temp"/*

# A PDF cut short while it is read (a copy written over it mid-run).
cp "$hostile/forms.pdf" "$work/cut.pdf"
( sleep 0.2; : > "$work/cut.pdf" ) &
bounded "PDF cut short while it is read" "$work/cut.pdf"
wait
