#!/usr/bin/env bash
# Times the Word .doc reader (leafmill-cli --text) against antiword and catdoc:
#  1. on two large generated documents (one 8-bit piece, one UTF-16 piece, the
#     text of corpus references repeated), where the reading itself counts;
#  2. on the corpus .doc files with the most text that all three read, each
#     converted many times in a row, where the start of each program counts.
# Prints CPU seconds per tool, peak memory and the ratios (their time / ours;
# above 1 means leafmill is faster).
#
#  3. on every corpus .doc antiword reads: the wall time of one conversion
#     (best of `repeats`), ours against antiword's, per file and in total,
#     and the start of `--text` on a tiny text file.
#
#   bench/extract_doc.sh [conversions per corpus file, default 40] [corpus files, default 8] [MB, default 20]
set -euo pipefail

source "$(dirname "$0")/bench-common.sh"
corpus=${LEAFMILL_CORPUS:-$root/../shared/corpus}/doc
repeats=${1:-40}
count=${2:-8}
megabytes=${3:-20}

if [ ! -d "$corpus" ]; then
    echo "no corpus at $corpus (LEAFMILL_CORPUS): nothing to time"
    exit 0
fi
if ! need_tools antiword catdoc 2>/dev/null; then
    echo "antiword and catdoc are not installed and could not be: nothing to compare against"
    exit 0
fi

# Each tool's command for UTF-8 text on the standard output.
ours="$cli --text"
antiword_utf8="antiword -m UTF-8.txt"
catdoc_utf8="catdoc -d utf-8"

# The documents with the most text that every tool converts without an error
# (many large files are mostly pictures).
files=()
while read -r _ file; do
    $antiword_utf8 "$file" >/dev/null 2>&1 && $catdoc_utf8 "$file" >/dev/null 2>&1 || continue
    files+=("$file")
    [ ${#files[@]} -lt "$count" ] || break
done < <(for f in "$corpus"/*.doc; do
    text=$($ours "$f" 2>/dev/null | wc -c) && echo "$text $f"
done | sort -rn)

# CPU seconds (user + system, the machine is shared) of `repeats` conversions
# of one file, the wall-clock seconds, and the peak memory in MB; "failed"
# when a conversion fails or crashes.
measure() {
    local command=$1 file=$2 wall user system kilobytes
    if ! /usr/bin/time -f '%e %U %S %M' -o "$work/time" \
        bash -c 'for _ in $(seq "$1"); do $2 "$3" >/dev/null 2>&1 || exit 1; done' _ "$repeats" "$command" "$file" \
        2>/dev/null; then
        echo "failed failed -"
        return
    fi
    read -r wall user system kilobytes < <(tail -1 "$work/time")
    awk "BEGIN { printf \"%.3f %.2f %.1f\", $user + $system, $wall, $kilobytes / 1024 }"
}

# A Word 97 file of `megabytes` MB holding one piece, built from a text file:
#   make_doc.py OUT TEXTFILE MEGABYTES compressed|utf16
cat >"$work/make_doc.py" <<'PYTHON'
import struct, sys
out, textfile, mb, kind = sys.argv[1], sys.argv[2], float(sys.argv[3]), sys.argv[4]
src = open(textfile, encoding='utf-8-sig').read().replace('\r\n', '\n').replace('\n', '\r')
compressed = kind == 'compressed'
if compressed:
    src = src.encode('cp1252', 'replace').decode('cp1252')
unit = 1 if compressed else 2
chars = int(mb * 1e6 / unit)
text = (src * (chars // max(1, len(src)) + 1))[:chars]
if not text.endswith('\r'):
    text += '\r'
body = text.encode('cp1252') if compressed else text.encode('utf-16-le')
fib = bytearray(1024)
struct.pack_into('<HH', fib, 0, 0xA5EC, 0xC1)
struct.pack_into('<H', fib, 0x0A, 0x1200)
struct.pack_into('<II', fib, 0x18, 1024, 1024 + len(body))
struct.pack_into('<H', fib, 32, 14)
lw = 32 + 2 + 28 + 2
struct.pack_into('<H', fib, lw - 2, 22)
struct.pack_into('<I', fib, lw, 1024 + len(body))
struct.pack_into('<I', fib, lw + 12, len(text))
pairs = lw + 88 + 2
struct.pack_into('<H', fib, pairs - 2, 93)
fc = (1024 * 2) | 0x40000000 if compressed else 1024
plc = struct.pack('<II', 0, len(text)) + struct.pack('<HIH', 0, fc, 0)
clx = b'\x02' + struct.pack('<I', len(plc)) + plc
table = bytearray(16) + clx
struct.pack_into('<II', fib, pairs + 8 * 33, 16, len(clx))
word = bytes(fib) + body
# Compound file, version 3: streams, directory, FAT at the end (with DIFAT sectors when needed).
S = 512
def pad(b, n=S): return b + b'\0' * (-len(b) % n)
streams = [('WordDocument', word), ('1Table', bytes(table))]
data = b''; fat = []; starts = []
mini = b''; minifat = []
for name, b in streams:
    if len(b) < 4096:
        first = len(mini) // 64; n = (len(b) + 63) // 64
        minifat += [first + i + 1 if i + 1 < n else 0xFFFFFFFE for i in range(n)]
        starts.append(first); mini = pad(mini + b, 64)
    else:
        first = len(data) // S; n = (len(b) + S - 1) // S
        fat += [first + i + 1 if i + 1 < n else 0xFFFFFFFE for i in range(n)]
        starts.append(first); data = pad(data + b)
def chain(first, n):
    return [first + i + 1 if i + 1 < n else 0xFFFFFFFE for i in range(n)]
ministart = len(data) // S; mn = (len(mini) + S - 1) // S
fat += chain(ministart, mn); data = pad(data + mini)
mfbytes = pad(b''.join(struct.pack('<I', x) for x in minifat))
mfstart = len(data) // S; fat += chain(mfstart, len(mfbytes) // S); data += mfbytes
def entry(name, typ, right, child, start, size):
    n = name.encode('utf-16-le') + b'\0\0'
    e = bytearray(128); e[:len(n)] = n
    struct.pack_into('<HBB', e, 0x40, len(n), typ, 1)
    struct.pack_into('<III', e, 0x44, 0xFFFFFFFF, right, child)
    struct.pack_into('<II', e, 0x74, start, size)
    return bytes(e)
d = entry('Root Entry', 5, 0xFFFFFFFF, 1, ministart, len(mini))
d += entry('WordDocument', 2, 2, 0xFFFFFFFF, starts[0], len(word))
d += entry('1Table', 2, 0xFFFFFFFF, 0xFFFFFFFF, starts[1], len(table))
d = pad(d); dirstart = len(data) // S; fat += chain(dirstart, len(d) // S); data += d
used = len(data) // S
per = S // 4
nfat = 1; ndifat = 0
while True:
    ndifat = max(0, (nfat - 109 + per - 2) // (per - 1))
    if nfat * per >= used + nfat + ndifat: break
    nfat += 1
fatsecs = list(range(used, used + nfat)); difatsecs = list(range(used + nfat, used + nfat + ndifat))
fat += [0xFFFFFFFD] * nfat + [0xFFFFFFFC] * ndifat
fat += [0xFFFFFFFF] * (nfat * per - len(fat))
fatbytes = b''.join(struct.pack('<I', x) for x in fat)
difat = b''
rest = fatsecs[109:]
for i, s in enumerate(difatsecs):
    part = rest[i * (per - 1):(i + 1) * (per - 1)]
    part += [0xFFFFFFFF] * (per - 1 - len(part))
    nxt = difatsecs[i + 1] if i + 1 < len(difatsecs) else 0xFFFFFFFE
    difat += b''.join(struct.pack('<I', x) for x in part + [nxt])
h = bytearray(512)
h[:8] = b'\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1'
struct.pack_into('<HHHHH', h, 0x18, 0x3E, 3, 0xFFFE, 9, 6)
struct.pack_into('<I', h, 0x2C, nfat); struct.pack_into('<I', h, 0x30, dirstart)
struct.pack_into('<I', h, 0x38, 4096); struct.pack_into('<II', h, 0x3C, mfstart, len(mfbytes) // S)
struct.pack_into('<II', h, 0x44, difatsecs[0] if difatsecs else 0xFFFFFFFE, ndifat)
for i in range(109):
    struct.pack_into('<I', h, 0x4C + 4 * i, fatsecs[i] if i < len(fatsecs) else 0xFFFFFFFF)
open(out, 'wb').write(bytes(h) + data + fatbytes + difat)
PYTHON

ratio() {
    case "$1$2" in *failed*) echo "-" ;; *) awk "BEGIN { printf \"%.2f\", $1 / ($2 > 0 ? $2 : 0.001) }" ;; esac
}

echo "Large generated documents: CPU seconds of one conversion, best of 3 (wall seconds in brackets), peak MB"
python3 "$work/make_doc.py" "$work/large-8bit.doc" "$corpus/textract_raw_text.ref.txt" "$megabytes" compressed
python3 "$work/make_doc.py" "$work/large-utf16.doc" "$corpus/poi_Bug33519.ref.txt" "$megabytes" utf16
# antiword sometimes crashes on these files; a failed run does not count.
best_of_three() {
    local best="failed failed -" line
    for _ in 1 2 3; do
        line=$(repeats=1 measure "$1" "$2")
        case "$line" in failed*) continue ;; esac
        if [ "${best%% *}" = failed ] || awk "BEGIN { exit !(${line%% *} < ${best%% *}) }"; then best=$line; fi
    done
    echo "$best"
}
printf '%-32s %6s %16s %6s %16s %6s %16s %6s %8s %8s\n' file MB leafmill MB antiword MB catdoc MB vs_anti vs_cat
for file in "$work/large-8bit.doc" "$work/large-utf16.doc"; do
    read -r c_ours w_ours m_ours <<<"$(best_of_three "$ours" "$file")"
    read -r c_anti w_anti m_anti <<<"$(best_of_three "$antiword_utf8" "$file")"
    read -r c_cat w_cat m_cat <<<"$(best_of_three "$catdoc_utf8" "$file")"
    printf '%-32s %6d %16s %6s %16s %6s %16s %6s %8s %8s\n' "$(basename "$file")" $(($(stat -c %s "$file") / 1000000)) \
        "$c_ours ($w_ours)" "$m_ours" "$c_anti ($w_anti)" "$m_anti" "$c_cat ($w_cat)" "$m_cat" \
        "$(ratio "$c_anti" "$c_ours")" "$(ratio "$c_cat" "$c_ours")"
done
echo

echo "Corpus: CPU seconds for $repeats conversions of each file (wall seconds in brackets), peak MB"
printf '%-32s %6s %16s %6s %16s %6s %16s %6s %8s %8s\n' file KB leafmill MB antiword MB catdoc MB vs_anti vs_cat
total_ours=0 total_anti=0 total_cat=0
for file in "${files[@]}"; do
    read -r c_ours w_ours m_ours <<<"$(measure "$ours" "$file")"
    read -r c_anti w_anti m_anti <<<"$(measure "$antiword_utf8" "$file")"
    read -r c_cat w_cat m_cat <<<"$(measure "$catdoc_utf8" "$file")"
    total_ours=$(awk "BEGIN { print $total_ours + $c_ours }")
    total_anti=$(awk "BEGIN { print $total_anti + $c_anti }")
    total_cat=$(awk "BEGIN { print $total_cat + $c_cat }")
    printf '%-32s %6d %16s %6s %16s %6s %16s %6s %8s %8s\n' "$(basename "$file")" $(($(stat -c %s "$file") / 1024)) \
        "$c_ours ($w_ours)" "$m_ours" "$c_anti ($w_anti)" "$m_anti" "$c_cat ($w_cat)" "$m_cat" \
        "$(ratio "$c_anti" "$c_ours")" "$(ratio "$c_cat" "$c_ours")"
done
printf '%-32s %6s %16s %6s %16s %6s %16s %6s %8s %8s\n' "all files" "" "$total_ours" "" "$total_anti" "" \
    "$total_cat" "" "$(ratio "$total_anti" "$total_ours")" "$(ratio "$total_cat" "$total_ours")"

# For scale: the command-line tool's own start (settings, language, code page)
# on a text source that needs no extraction.
printf 'leafmill\r\n' >"$work/start.txt"
read -r c_start w_start _ <<<"$(measure "$ours" "$work/start.txt")"
echo "leafmill-cli start alone, $repeats runs on a one-line .txt: $c_start CPU s ($w_start wall)"


echo
echo "Every corpus .doc antiword reads: wall milliseconds of one conversion, best of $repeats"
python3 - "$repeats" "$cli" "$work/start.txt" "$corpus"/*.doc <<'PYTHON'
import subprocess, sys, time
repeats, cli, tiny, files = int(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4:]
def best(command):
    fastest = None
    for _ in range(repeats):
        start = time.perf_counter()
        if subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode != 0:
            return None
        elapsed = time.perf_counter() - start
        fastest = elapsed if fastest is None else min(fastest, elapsed)
    return fastest * 1000
print('%-40s %10s %10s %8s' % ('file', 'leafmill', 'antiword', 'ratio'))
ours_total = theirs_total = 0.0
for file in files:
    theirs = best(['antiword', '-m', 'UTF-8.txt', file])
    ours = best([cli, '--text', file])
    if theirs is None or ours is None:
        continue
    ours_total += ours
    theirs_total += theirs
    print('%-40s %10.2f %10.2f %8.2f' % (file.rsplit('/', 1)[-1], ours, theirs, ours / theirs))
print('%-40s %10.2f %10.2f %8.2f  (ours / antiword; target at most 1.0)' % ('all files', ours_total, theirs_total, ours_total / theirs_total))
print('start of --text on a tiny text file: %.2f ms (target under 1.5)' % best([cli, '--text', tiny]))
PYTHON
