#!/usr/bin/env bash
# Times the Kindle reader (leafmill-cli --text) against calibre's
# ebook-convert to .txt on one MOBI book of about 5 MB (PalmDOC compressed,
# written by calibre from generated chapters with a table of contents).
# Prints the medians of interleaved runs on one pinned core and the ratios
# (leafmill / calibre; below 1 means leafmill is faster or smaller).
#
#   bench/extract_mobi.sh [book size in MB, default 5] [runs, default 5]
set -euo pipefail

source "$(dirname "$0")/bench-common.sh"
need_tools ebook-convert:calibre
megabytes=${1:-5} runs=${2:-5}

# PalmDOC keeps about two fifths of text this varied: the HTML is made two
# and a half times as large as the book wanted.
python3 - "$work/book.html" "$megabytes" <<'PY'
import sys
from random import Random
random = Random(29)
words = ("the salt road ran east from village through marshes where ground was white in summer grey winter "
         "carts had worn two deep tracks into it over hundred years between grass grew tall ilse walked three "
         "days slept barns once under bridge third evening she saw house tall narrow building light every window").split()
target = int(float(sys.argv[2]) * 2_500_000)
def sentence(count):
    return " ".join(random.choice(words) for _ in range(count))
parts, size, chapter = [], 0, 0
while size < target:
    chapter += 1
    text = f"<h1>Chapter {chapter}</h1>" + "".join(
        f"<h2>Part {part + 1}</h2>" + "".join(f"<p>{sentence(random.randint(30, 90)).capitalize()}.</p>" for _ in range(20))
        for part in range(3))
    size += len(text)
    parts.append(text)
open(sys.argv[1], "w").write('<html><head><meta charset="utf-8"><title>The Salt Road</title></head><body>'
                             + "".join(parts) + "</body></html>")
PY
ebook-convert "$work/book.html" "$work/book.mobi" --mobi-file-type old --level1-toc //h:h1 >/dev/null
echo "book: $(du -m "$work/book.mobi" | cut -f1) MB ($(stat -c %s "$work/book.mobi") bytes)"
python3 "$root/bench/compare.py" "$runs" "MOBI to text" -- "$cli" --text "$work/book.mobi" \
  -- ebook-convert "$work/book.mobi" "$work/book.txt"
