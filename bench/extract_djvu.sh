#!/usr/bin/env bash
# Times the DjVu reader (leafmill-cli --text) against djvutxt on one
# document of 300 pages (by default), each a blank bitonal scan with a
# hidden text layer of 40 generated lines set by djvused. Prints the medians
# of interleaved runs on one pinned core and the ratios (leafmill / djvutxt;
# below 1 means leafmill is faster or smaller).
#
#   bench/extract_djvu.sh [pages, default 300] [runs, default 5]
set -euo pipefail

source "$(dirname "$0")/bench-common.sh"
pages=${1:-300}
runs=${2:-5}
need_tools djvutxt:djvulibre-bin /usr/bin/time:time

# One letter-size page at 100 dpi, copied for every page of the document.
python3 -c 'import sys; sys.stdout.buffer.write(b"P4\n850 1100\n" + bytes(107 * 1100))' >"$work/page.pbm"
cjb2 -dpi 100 "$work/page.pbm" "$work/page.djvu"
for page in $(seq -w 1 "$pages"); do cp "$work/page.djvu" "$work/p$page.djvu"; done
djvm -c "$work/book.djvu" "$work"/p[0-9]*.djvu

# Each page's text as lines of words with their boxes, from the bottom up.
python3 - "$pages" >"$work/text.djvused" <<'PY'
import random, sys
random.seed(29)
words = ("the salt road ran east from village through marshes where ground was white in summer grey winter "
         "carts had worn two deep tracks into it over hundred years between grass grew tall ilse walked three "
         "days slept barns once under bridge third evening she saw house tall narrow building light every window").split()
for page in range(1, int(sys.argv[1]) + 1):
    lines = []
    for line in range(40):
        top = 1050 - line * 25
        x, boxes = 50, []
        for word in random.sample(words, 10):
            width = 7 * len(word)
            boxes.append(f'(word {x} {top - 18} {x + width} {top} "{word}")')
            x += width + 7
        lines.append(f"(line 50 {top - 18} {x} {top} {' '.join(boxes)})")
    print(f"select {page}\nset-txt\n(page 0 0 850 1100 {' '.join(lines)})\n.")
print("save")
PY
djvused "$work/book.djvu" -f "$work/text.djvused"
echo "document: $pages pages, $(stat -c %s "$work/book.djvu") bytes"
python3 "$root/bench/compare.py" "$runs" "DjVu text" -- "$cli" --text "$work/book.djvu" \
  -- djvutxt "$work/book.djvu" "$work/book.txt"
# compare.py's peak is at least its own Python's (a child's high-water mark
# survives exec), more than either program takes: GNU time's is each one's.
peak() {
  for _ in 1 2 3 4 5; do
    /usr/bin/time -f %M -o "$work/peak" "$@" >/dev/null 2>&1
    cat "$work/peak"
  done | sort -n | sed -n 3p
}
ours=$(peak "$cli" --text "$work/book.djvu")
theirs=$(peak djvutxt "$work/book.djvu" "$work/book.txt")
echo "  peak memory (median of 5, GNU time): leafmill-cli $ours KB, djvutxt $theirs KB, ratio $(python3 -c "print(f'{$ours / $theirs:.3f}')")"
