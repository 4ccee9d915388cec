#!/usr/bin/env bash
# Times the PDF reader (leafmill-cli --text) against pdftotext on generated
# PDFs of 300 pages (1x) and ten and a hundred times that (a running header
# and a page number on every page, body lines of corpus reference text, one
# content stream per page, compressed): on both cores and on one pinned core
# (taskset -c 0), the two tools' runs interleaved. Prints the median CPU
# seconds, wall seconds and peak memory of each, and the ratios ours /
# pdftotext (at most 1 means leafmill is as fast or as lean).
#
#   bench/extract_pdf.sh [pages at 1x, default 300]
#   SCALES="1 10 100" RUNS=3 by default; CLI=PATH measures another build.
set -euo pipefail

source "$(dirname "$0")/bench-common.sh"
cli=${CLI:-$cli}
corpus=${LEAFMILL_CORPUS:-$root/../shared/corpus}
base_pages=${1:-300}
scales=${SCALES:-1 10 100}
runs=${RUNS:-3}

need_tools pdftotext:poppler-utils taskset:util-linux

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
# CPU seconds (user + system), wall seconds and peak MB of one conversion.
measure() {
    /usr/bin/time -f '%e %U %S %M' -o "$work/time" "$@" >/dev/null 2>&1
    read -r wall user system kilobytes < <(tail -1 "$work/time")
    awk "BEGIN { printf \"%.3f %.3f %.1f\n\", $user + $system, $wall, $kilobytes / 1024 }"
}
# The median of each column of the lines on standard input.
medians() {
    awk '{ for (i = 1; i <= NF; ++i) v[i, NR] = $i } END {
        for (i = 1; i <= NF; ++i) {
            n = 0
            for (r = 1; r <= NR; ++r) s[++n] = v[i, r]
            for (a = 1; a <= n; ++a) for (b = a + 1; b <= n; ++b) if (s[b] < s[a]) { t = s[a]; s[a] = s[b]; s[b] = t }
            printf "%s%s", s[int((n + 1) / 2)], (i < NF ? " " : "\n")
        } }'
}

printf '%-6s %-7s %-7s %-10s %8s %8s %8s\n' scale pages cores tool "CPU s" "wall s" "peak MB"
for scale in $scales; do
    pages=$((base_pages * scale))
    python3 "$work/make_pdf.py" "$work/large.pdf" "$corpus/doc/textract_raw_text.ref.txt" "$pages"
    cat "$work/large.pdf" >/dev/null
    for cores in 2 1; do
        pin=()
        [ "$cores" = 1 ] && pin=(taskset -c 0)
        : >"$work/ours" && : >"$work/peer"
        for ((i = 0; i < runs; i++)); do
            measure "${pin[@]}" "$cli" --text "$work/large.pdf" >>"$work/ours"
            measure "${pin[@]}" pdftotext "$work/large.pdf" - >>"$work/peer"
        done
        read -r c_ours w_ours m_ours < <(medians <"$work/ours")
        read -r c_peer w_peer m_peer < <(medians <"$work/peer")
        printf '%-6s %-7s %-7s %-10s %8s %8s %8s\n' "${scale}x" "$pages" "$cores" leafmill "$c_ours" "$w_ours" \
            "$m_ours" "${scale}x" "$pages" "$cores" pdftotext "$c_peer" "$w_peer" "$m_peer"
        awk "BEGIN { printf \"%-6s ratio ours / pdftotext: CPU %.2f, wall %.2f, peak memory %.2f\n\", \"\", \
            $c_ours / ($c_peer > 0 ? $c_peer : 0.001), $w_ours / ($w_peer > 0 ? $w_peer : 0.001), $m_ours / $m_peer }"
    done
done
