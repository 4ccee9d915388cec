#!/usr/bin/env bash
# Times the EPUB reader (leafmill-cli --text) against pandoc -t plain on one
# book of about 5 MB (pandoc makes it from generated chapters). Prints
# seconds, peak memory and the ratios (leafmill / pandoc; below 1 means
# leafmill is faster or smaller).
#
#   bench/extract_epub.sh [book size in MB, default 5]
set -euo pipefail

source "$(dirname "$0")/bench-common.sh"
megabytes=${1:-5}
runs=3

need_tools pandoc

# Chapters of pseudo-random words, a footnote now and then, until the book's
# zip reaches the size.
python3 - "$work/book.md" "$megabytes" <<'PY'
import random, sys
random.seed(7)
words = ("the salt road ran east from village through marshes where ground was white in summer grey winter "
         "carts had worn two deep tracks into it over hundred years between grass grew tall ilse walked three "
         "days slept barns once under bridge third evening she saw house tall narrow building light every window").split()
target = int(sys.argv[2]) * 1_000_000 * 3  # words this varied deflate to about a third
with open(sys.argv[1], "w") as out:
    size, chapter, note = 0, 0, 0
    while size < target:
        chapter += 1
        out.write(f"\n# Chapter {chapter}\n\n")
        for _ in range(60):
            paragraph = " ".join(random.choice(words) for _ in range(random.randint(40, 120)))
            if random.random() < 0.1:
                note += 1
                paragraph += f"[^n{note}]\n\n[^n{note}]: " + " ".join(random.choice(words) for _ in range(20))
            out.write(paragraph.capitalize() + ".\n\n")
            size += len(paragraph)
PY
pandoc "$work/book.md" -t epub3 --split-level=1 -o "$work/book.epub"

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
read -r pandoc_wall pandoc_cpu pandoc_mb <<<"$(measure pandoc -t plain "$work/book.epub")"
echo "leafmill: $cli --text; pandoc -t plain; best of $runs runs; ratio = leafmill / pandoc"
printf '%-6s | %8s %7s %7s | %8s %7s %7s | %10s %9s %9s\n' MB wall_s cpu_s mem_MB wall_s cpu_s mem_MB wall_ratio cpu_ratio mem_ratio
printf '%-6s | %8s %7s %7s | %8s %7s %7s | %10s %9s %9s\n' "$size" "$ours_wall" "$ours_cpu" "$ours_mb" \
    "$pandoc_wall" "$pandoc_cpu" "$pandoc_mb" "$(ratio "$ours_wall" "$pandoc_wall")" \
    "$(ratio "$ours_cpu" "$pandoc_cpu")" "$(ratio "$ours_mb" "$pandoc_mb")"
