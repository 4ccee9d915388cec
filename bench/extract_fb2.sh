#!/usr/bin/env bash
# Times the FictionBook reader (leafmill-cli --text) against calibre's
# ebook-convert to .txt on one book of about 5 MB in windows-1251 made of
# generated Russian chapters, nested sections and notes. Prints the medians of
# interleaved runs on one pinned core and the ratios (leafmill / calibre;
# below 1 means leafmill is faster or smaller).
#
#   bench/extract_fb2.sh [book size in MB, default 5] [runs, default 5]
set -euo pipefail

source "$(dirname "$0")/bench-common.sh"
megabytes=${1:-5}
runs=${2:-5}
need_tools ebook-convert:calibre

python3 - "$work/book.fb2" "$megabytes" <<'PY'
import random, sys
random.seed(29)
words = ("поезд пришёл на станцию поздно вечером когда над лесом уже стояла луна вера вышла пустую платформу "
         "огляделась ни носильщика извозчика только старый фонарь качался ветру дом стоял краю деревни").split()
target = int(sys.argv[2]) * 1_000_000
def sentence(count):
    return " ".join(random.choice(words) for _ in range(count))
parts, notes, size, chapter = [], [], 0, 0
while size < target:
    chapter += 1
    body = []
    for part in range(3):
        paragraphs = []
        for _ in range(20):
            mark = ""
            if random.random() < 0.1:
                notes.append(f'<section id="n{len(notes) + 1}"><title><p>{len(notes) + 1}</p></title>'
                             f'<p>{sentence(15)}</p></section>')
                mark = f'<a l:href="#n{len(notes)}" type="note">[{len(notes)}]</a>'
            paragraphs.append(f"<p>{sentence(random.randint(30, 90)).capitalize()}.{mark}</p>")
        body.append(f"<section><title><p>Часть {part + 1}</p></title>{''.join(paragraphs)}</section>")
    text = f"<section><title><p>Глава {chapter}</p></title>{''.join(body)}</section>"
    size += len(text.encode("cp1251"))
    parts.append(text)
book = ('<?xml version="1.0" encoding="windows-1251"?>\n<FictionBook xmlns="http://www.gribuser.ru/xml/fictionbook/2.0" '
        'xmlns:l="http://www.w3.org/1999/xlink"><description><title-info><book-title>Зимняя дорога</book-title>'
        '<lang>ru</lang></title-info></description><body><title><p>Зимняя дорога</p></title>'
        f'{"".join(parts)}</body><body name="notes">{"".join(notes)}</body></FictionBook>')
open(sys.argv[1], "wb").write(book.encode("cp1251"))
PY

echo "book: $(stat -c %s "$work/book.fb2") bytes"
python3 "$root/bench/compare.py" "$runs" "FictionBook to text" -- "$cli" --text "$work/book.fb2" \
  -- ebook-convert "$work/book.fb2" "$work/book.txt"
