#!/usr/bin/env bash
# Reads generated FictionBooks (leafmill-cli --text) of 1, 10 and 100 times a
# realistic size (about 1 MB of Russian prose in some 50 sections, with
# notes; see extract_fb2_make.py), in windows-1251 and in UTF-8. Prints the
# best CPU seconds of the runs and the peak memory: time should grow with the
# size, memory hardly at all. Then, when calibre is installed, compares a book
# of 5 MB with its ebook-convert to .txt (medians of interleaved runs; below 1
# means leafmill is faster or smaller).
#
#   bench/extract_fb2.sh [scales, default "1 10 100"] [runs, default 3]
set -euo pipefail

source "$(dirname "$0")/bench-common.sh"
scales=${1:-1 10 100}
runs=${2:-3}

printf '%-18s | %9s %7s %7s\n' book KB cpu_s mem_MB
for encoding in windows-1251 utf-8; do
    for scale in $scales; do
        book=$work/book.fb2
        python3 "$root/bench/extract_fb2_make.py" "$scale" "$encoding" "$book"
        cpu="" peak=0
        for _ in $(seq "$runs"); do
            /usr/bin/time -o "$work/time" -f '%U %S %M' "$cli" --text "$book" >/dev/null
            read -r user system kilobytes < <(tail -n 1 "$work/time")
            spent=$(awk "BEGIN { print $user + $system }")
            if [ -z "$cpu" ] || awk "BEGIN { exit !($spent < $cpu) }"; then cpu=$spent; fi
            [ "$kilobytes" -gt "$peak" ] && peak=$kilobytes
        done
        printf '%-18s | %9s %7s %7s\n' "$encoding ${scale}x" "$(($(stat -c %s "$book") / 1024))" "$cpu" "$((peak / 1024))"
    done
done

if command -v ebook-convert >/dev/null; then
    python3 "$root/bench/extract_fb2_make.py" 5 windows-1251 "$work/book.fb2"
    python3 "$root/bench/compare.py" "$runs" "FictionBook of 5 MB to text" -- "$cli" --text "$work/book.fb2" \
      -- ebook-convert "$work/book.fb2" "$work/book.txt"
else
    echo "calibre (ebook-convert) is not installed: no comparison with it"
fi
