#!/usr/bin/env bash
# Times the FictionBook reader (leafmill-cli --text) against calibre's
# ebook-convert to .txt on one book of about 5 MB in windows-1251 made of
# generated Russian chapters, nested sections and notes. Prints seconds, peak
# memory and the ratios (leafmill / calibre; below 1 means leafmill is faster
# or smaller).
#
#   bench/extract_fb2.sh [book size in MB, default 5] [runs, default 3]
set -euo pipefail

source "$(dirname "$0")/bench-common.sh"
megabytes=${1:-5}
runs=${2:-3}
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

# Best wall and CPU seconds and the largest peak memory of the runs, from the
# children's resource use.
python3 - "$runs" "$work" "$cli" <<'PY'
import os, subprocess, sys
runs, work, cli = int(sys.argv[1]), sys.argv[2], sys.argv[3]
book = os.path.join(work, "book.fb2")
def best(command):
    wall = cpu = None
    peak = 0
    for _ in range(runs):
        start = os.times()
        process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        _, status, usage = os.wait4(process.pid, 0)
        end = os.times()
        elapsed = end.elapsed - start.elapsed
        spent = usage.ru_utime + usage.ru_stime
        wall = elapsed if wall is None else min(wall, elapsed)
        cpu = spent if cpu is None else min(cpu, spent)
        peak = max(peak, usage.ru_maxrss // 1024)
    return wall, cpu, peak
ours = best([cli, "--text", book])
calibre = best(["ebook-convert", book, os.path.join(work, "book.txt")])
print(f"leafmill: {cli} --text; ebook-convert to .txt; best of {runs} runs; ratio = leafmill / calibre")
print(f"{'MB':<6} | {'wall_s':>8} {'cpu_s':>7} {'mem_MB':>7} | {'wall_s':>8} {'cpu_s':>7} {'mem_MB':>7} | "
      f"{'wall_ratio':>10} {'cpu_ratio':>9} {'mem_ratio':>9}")
size = os.path.getsize(book) / 1e6
ratios = [o / max(c, 0.01) for o, c in zip(ours, calibre)]
print(f"{size:<6.1f} | {ours[0]:8.2f} {ours[1]:7.2f} {ours[2]:7d} | {calibre[0]:8.2f} {calibre[1]:7.2f} {calibre[2]:7d} | "
      f"{ratios[0]:10.3f} {ratios[1]:9.3f} {ratios[2]:9.2f}")
PY
