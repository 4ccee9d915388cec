#!/usr/bin/env bash
# Times the EPUB reader (leafmill-cli --text) against pandoc -t plain on one
# book of about 5 MB made of generated chapters. Prints seconds, peak memory
# and the ratios (leafmill / pandoc; below 1 means leafmill is faster or
# smaller).
#
#   bench/extract_epub.sh [book size in MB, default 5] [alone]
#
# With `alone`, pandoc is left out (at 100 times the size it takes hours):
# 5, 50 and 500 MB show whether the memory stays flat and the time linear.
set -euo pipefail

source "$(dirname "$0")/bench-common.sh"
megabytes=${1:-5}
runs=3

# The book is made here, not by pandoc: pandoc is only the tool compared
# against, and its numbers are left out where it cannot be installed.
have_pandoc=yes
[ "${2:-}" = alone ] && have_pandoc=
[ -z "$have_pandoc" ] || need_tools pandoc 2>/dev/null || have_pandoc=
[ -n "$have_pandoc" ] || echo "without pandoc: leafmill's numbers only"

# Chapters of pseudo-random paragraphs (drawn from a pool, so that a large
# book is made in minutes), a footnote now and then, until the text reaches
# 3.6 times the size (words this varied deflate to a little over a quarter);
# an EPUB 3 with one XHTML file a chapter and a navigation document.
python3 - "$work/book.epub" "$megabytes" <<'PY'
import random, sys, zipfile
random.seed(7)
words = ("the salt road ran east from village through marshes where ground was white in summer grey winter "
         "carts had worn two deep tracks into it over hundred years between grass grew tall ilse walked three "
         "days slept barns once under bridge third evening she saw house tall narrow building light every window").split()
target = int(sys.argv[2]) * 3_600_000
def sentence(count):
    return " ".join(random.choice(words) for _ in range(count))
paragraphs = [sentence(random.randint(40, 120)) for _ in range(4000)]
notes_pool = [sentence(20) for _ in range(1000)]
# Each chapter goes into the book as it is made: a large one is never held.
book = zipfile.ZipFile(sys.argv[1], "w")
book.writestr("mimetype", "application/epub+zip", zipfile.ZIP_STORED)
names, size, note = [], 0, 0
while size < target:
    number = len(names) + 1
    body, notes = [], []
    for _ in range(60):
        paragraph = random.choice(paragraphs)
        size += len(paragraph)
        mark = ""
        if random.random() < 0.1:
            note += 1
            mark = f'<a href="#fn{note}" id="fnref{note}" epub:type="noteref">{note}</a>'
            notes.append(f'<li id="fn{note}" epub:type="footnote"><p>{random.choice(notes_pool)}</p></li>')
        body.append(f"<p>{paragraph.capitalize()}.{mark}</p>")
    footnotes = f'<section epub:type="footnotes"><ol>{"".join(notes)}</ol></section>' if notes else ""
    names.append(f"ch{number:05}.xhtml")
    book.writestr("EPUB/" + names[-1], f'<?xml version="1.0" encoding="UTF-8"?>\n<html xmlns="http://www.w3.org/1999/xhtml" '
                  f'xmlns:epub="http://www.idpf.org/2007/ops"><head><title>Chapter {number}</title></head><body>'
                  f'<section><h1>Chapter {number}</h1>{"".join(body)}</section>{footnotes}</body></html>',
                  zipfile.ZIP_DEFLATED)
manifest = "".join(f'<item id="c{i}" href="{n}" media-type="application/xhtml+xml"/>' for i, n in enumerate(names))
spine = "".join(f'<itemref idref="c{i}"/>' for i in range(len(names)))
links = "".join(f'<li><a href="{n}">Chapter {i + 1}</a></li>' for i, n in enumerate(names))
book.writestr("META-INF/container.xml", '<?xml version="1.0"?><container version="1.0" '
              'xmlns="urn:oasis:names:tc:opendocument:xmlns:container"><rootfiles><rootfile '
              'full-path="EPUB/content.opf" media-type="application/oebps-package+xml"/></rootfiles></container>',
              zipfile.ZIP_DEFLATED)
book.writestr("EPUB/content.opf", '<?xml version="1.0" encoding="UTF-8"?><package version="3.0" '
              'xmlns="http://www.idpf.org/2007/opf" unique-identifier="id"><metadata '
              'xmlns:dc="http://purl.org/dc/elements/1.1/"><dc:identifier id="id">bench-book</dc:identifier>'
              '<dc:title>The Salt Road</dc:title><dc:language>en</dc:language></metadata><manifest>'
              '<item id="nav" href="nav.xhtml" media-type="application/xhtml+xml" properties="nav"/>'
              f'{manifest}</manifest><spine>{spine}</spine></package>', zipfile.ZIP_DEFLATED)
book.writestr("EPUB/nav.xhtml", '<?xml version="1.0" encoding="UTF-8"?><html xmlns="http://www.w3.org/1999/xhtml" '
              'xmlns:epub="http://www.idpf.org/2007/ops"><head><title>Contents</title></head><body>'
              f'<nav epub:type="toc"><ol>{links}</ol></nav></body></html>', zipfile.ZIP_DEFLATED)
book.close()
PY

measure() {
    local wall="" cpu="" peak=0 elapsed user system kilobytes spent
    for _ in $(seq "$runs"); do
        /usr/bin/time -o "$work/time" -f '%e %U %S %M' "$@" >/dev/null 2>/dev/null
        read -r elapsed user system kilobytes <"$work/time"
        spent=$(awk "BEGIN { print $user + $system }")
        if [ -z "$wall" ] || awk "BEGIN { exit !($elapsed < $wall) }"; then wall=$elapsed; fi
        if [ -z "$cpu" ] || awk "BEGIN { exit !($spent < $cpu) }"; then cpu=$spent; fi
        [ "$kilobytes" -gt "$peak" ] && peak=$kilobytes
    done
    echo "$wall $cpu $((peak / 1024))"
}

ratio() {
    awk "BEGIN { printf \"%.2f\", $1 / ($2 > 0 ? $2 : 0.01) }"
}

size=$(awk "BEGIN { printf \"%.1f\", $(stat -c %s "$work/book.epub") / 1000000 }")
read -r ours_wall ours_cpu ours_mb <<<"$(measure "$cli" --text "$work/book.epub")"
if [ -z "$have_pandoc" ]; then
    echo "leafmill: $cli --text; best of $runs runs"
    printf '%-6s | %8s %7s %7s\n' MB wall_s cpu_s mem_MB "$size" "$ours_wall" "$ours_cpu" "$ours_mb"
    exit 0
fi
read -r pandoc_wall pandoc_cpu pandoc_mb <<<"$(measure pandoc -t plain "$work/book.epub")"
echo "leafmill: $cli --text; pandoc -t plain; best of $runs runs; ratio = leafmill / pandoc"
printf '%-6s | %8s %7s %7s | %8s %7s %7s | %10s %9s %9s\n' MB wall_s cpu_s mem_MB wall_s cpu_s mem_MB wall_ratio cpu_ratio mem_ratio
printf '%-6s | %8s %7s %7s | %8s %7s %7s | %10s %9s %9s\n' "$size" "$ours_wall" "$ours_cpu" "$ours_mb" \
    "$pandoc_wall" "$pandoc_cpu" "$pandoc_mb" "$(ratio "$ours_wall" "$pandoc_wall")" \
    "$(ratio "$ours_cpu" "$pandoc_cpu")" "$(ratio "$ours_mb" "$pandoc_mb")"
