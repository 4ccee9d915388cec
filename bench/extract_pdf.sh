#!/usr/bin/env bash
# Times the PDF reader (leafmill-cli --text) against pdftotext on a generated
# 300-page PDF (a running header and a page number on every page, body lines
# of corpus reference text, one content stream per page, compressed).
# Prints CPU seconds, wall seconds and peak memory of each, best of 3, and the
# ratios ours / pdftotext (at most 1 means leafmill is as fast or as lean).
#
#   bench/extract_pdf.sh [pages, default 300]
set -euo pipefail

source "$(dirname "$0")/bench-common.sh"
corpus=${LEAFMILL_CORPUS:-$root/../shared/corpus}
pages=${1:-300}

need_tools pdftotext:poppler-utils

# make_pdf.py OUT TEXTFILE PAGES: Helvetica text, 48 lines a page.
cat >"$work/make_pdf.py" <<'PYTHON'
import sys, zlib, textwrap
out, textfile, pages = sys.argv[1], sys.argv[2], int(sys.argv[3])
words = open(textfile, encoding='utf-8-sig').read().encode('cp1252', 'replace').decode('cp1252').split()
lines = textwrap.wrap(' '.join(words * (pages * 48 * 12 // max(1, len(words)) + 1)), 90)
def esc(s): return s.replace('\\', '\\\\').replace('(', '\\(').replace(')', '\\)')
objects = []
def add(body):
    objects.append(body)
    return len(objects)
font = add(b'<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>')
pages_id = len(objects) + 2 * pages + 1
kids = []
for p in range(pages):
    body = ['BT /F1 9 Tf 50 810 Td (Generated Report for the Benchmark) Tj ET']
    y = 780
    for line in lines[p * 48:(p + 1) * 48]:
        body.append(f'BT /F1 10 Tf 50 {y} Td ({esc(line)}) Tj ET')
        y -= 15
    body.append(f'BT /F1 9 Tf 290 30 Td (Page {p + 1}) Tj ET')
    data = zlib.compress('\n'.join(body).encode('cp1252'))
    content = add(b'<< /Length %d /Filter /FlateDecode >>\nstream\n' % len(data) + data + b'\nendstream')
    kids.append(add(b'<< /Type /Page /Parent %d 0 R /MediaBox [0 0 595 842] /Contents %d 0 R '
                    b'/Resources << /Font << /F1 %d 0 R >> >> >>' % (pages_id, content, font)))
assert add(b'<< /Type /Pages /Kids [%s] /Count %d >>' % (b' '.join(b'%d 0 R' % k for k in kids), pages)) == pages_id
catalog = add(b'<< /Type /Catalog /Pages %d 0 R >>' % pages_id)
pdf = bytearray(b'%PDF-1.4\n')
offsets = []
for i, body in enumerate(objects, 1):
    offsets.append(len(pdf))
    pdf += b'%d 0 obj\n' % i + body + b'\nendobj\n'
xref = len(pdf)
pdf += b'xref\n0 %d\n0000000000 65535 f \n' % (len(objects) + 1)
pdf += b''.join(b'%010d 00000 n \n' % o for o in offsets)
pdf += b'trailer\n<< /Size %d /Root %d 0 R >>\nstartxref\n%d\n%%%%EOF\n' % (len(objects) + 1, catalog, xref)
open(out, 'wb').write(pdf)
PYTHON
python3 "$work/make_pdf.py" "$work/large.pdf" "$corpus/doc/textract_raw_text.ref.txt" "$pages"

# CPU seconds (user + system), wall seconds and peak MB of one conversion.
measure() {
    /usr/bin/time -f '%e %U %S %M' -o "$work/time" "$@" >/dev/null 2>&1
    read -r wall user system kilobytes < <(tail -1 "$work/time")
    awk "BEGIN { printf \"%.3f %.2f %.1f\", $user + $system, $wall, $kilobytes / 1024 }"
}
best_of_three() {
    local best="" line
    for _ in 1 2 3; do
        line=$(measure "$@")
        if [ -z "$best" ] || awk "BEGIN { exit !(${line%% *} < ${best%% *}) }"; then best=$line; fi
    done
    echo "$best"
}

read -r c_ours w_ours m_ours <<<"$(best_of_three "$cli" --text "$work/large.pdf")"
read -r c_peer w_peer m_peer <<<"$(best_of_three pdftotext "$work/large.pdf" -)"
"$cli" --text "$work/large.pdf" >"$work/ours.txt"
echo "$pages pages, $(($(stat -c %s "$work/large.pdf") / 1024)) KB, $(wc -w <"$work/ours.txt") words read"
printf '%-10s %10s %8s %8s\n' tool "CPU s" "wall s" "peak MB"
printf '%-10s %10s %8s %8s\n' leafmill "$c_ours" "$w_ours" "$m_ours" pdftotext "$c_peer" "$w_peer" "$m_peer"
awk "BEGIN { printf \"ratio ours / pdftotext: time %.2f, peak memory %.2f\n\", $c_ours / ($c_peer > 0 ? $c_peer : 0.001), $m_ours / $m_peer }"
