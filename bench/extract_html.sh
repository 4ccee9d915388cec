#!/usr/bin/env bash
# Times the HTML filter (leafmill-cli --text), beside w3m -dump and
# html2text where installed:
#  1. generated novels (extract_html_novel.py) of 2, 20 and 200 MB, or the
#     sizes given, in UTF-8, windows-1252 and GBK: best CPU seconds of three
#     runs and peak memory, which should stay flat as the page grows;
#  2. the corpus pages concatenated into one page of 40 MB (PAGES_MB), and a
#     minified page repeated on one single line: seconds, peak memory and the
#     ratios (w3m time / leafmill time; above 1 means leafmill is faster).
#
#   bench/extract_html.sh [novel size in MB ...]
set -euo pipefail

source "$(dirname "$0")/bench-common.sh"
corpus=${LEAFMILL_CORPUS:-$root/../shared/corpus}/html
[ $# -gt 0 ] || set -- 2 20 200
megabytes=${PAGES_MB:-40}
runs=3

# Best CPU seconds (user + system) of $runs runs and the peak memory in MB.
cpu_and_peak() {
    local cpu="" peak=0 user system kilobytes spent
    for _ in $(seq "$runs"); do
        /usr/bin/time -o "$work/time" -f '%U %S %M' "$@" >/dev/null 2>/dev/null || true
        read -r user system kilobytes < <(tail -n 1 "$work/time")
        spent=$(awk "BEGIN { print $user + $system }")
        if [ -z "$cpu" ] || awk "BEGIN { exit !($spent < $cpu) }"; then cpu=$spent; fi
        [ "$kilobytes" -gt "$peak" ] && peak=$kilobytes
    done
    echo "$cpu $((peak / 1024))"
}

others=()
command -v w3m >/dev/null && others+=(w3m)
command -v html2text >/dev/null && others+=(html2text)
printf '%-13s %5s | %-9s %7s %7s\n' encoding MB program cpu_s mem_MB
for size in "$@"; do
    for encoding in utf-8 windows-1252 gbk; do
        python3 "$root/bench/extract_html_novel.py" "$work/novel.html" "$size" "$encoding"
        read -r cpu mb <<<"$(cpu_and_peak "$cli" --text "$work/novel.html")"
        printf '%-13s %5s | %-9s %7s %7s\n' "$encoding" "$size" leafmill "$cpu" "$mb"
        for other in "${others[@]}"; do
            case $other in
            w3m) read -r cpu mb <<<"$(cpu_and_peak w3m -dump -T text/html -O UTF-8 "$work/novel.html")" ;;
            html2text) read -r cpu mb <<<"$(cpu_and_peak html2text "$work/novel.html")" ;;
            esac
            printf '%-13s %5s | %-9s %7s %7s\n' "$encoding" "$size" "$other" "$cpu" "$mb"
        done
    done
done
rm -f "$work/novel.html"

command -v w3m >/dev/null || exit 0

# Repeats the source files into `target` until it holds `megabytes` MB.
fill() {
    local target=$1
    shift
    : >"$target"
    while [ "$(stat -c %s "$target")" -lt $((megabytes * 1000000)) ]; do
        cat "$@" >>"$target"
    done
}

# UTF-8 and 8-bit pages of every kind (the UTF-16 page would be noise in a
# page read as UTF-8); the first one declares UTF-8 in its head.
pages=("$corpus/textract_raw_text.html")
for page in "$corpus"/*.html; do
    case $page in *utf16le*|*textract_raw_text*) continue ;; esac
    pages+=("$page")
done
fill "$work/pages.html" "${pages[@]}"

# A minified page, its line ends removed, repeated on one line.
tr -d '\r\n' <"$corpus/traf_be.ch-impfen.html" >"$work/one-line-unit.html"
fill "$work/one-line.html" "$work/one-line-unit.html"

# Best wall-clock seconds and best CPU seconds (user + system) of $runs runs,
# and the peak resident memory in MB. The CPU time suffers less from other
# work on a shared machine.
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

echo "leafmill: $cli --text; w3m: w3m -dump; best of $runs runs; ratio = w3m / leafmill"
printf '%-9s %6s | %8s %7s %7s | %8s %7s %7s | %10s %9s\n' \
    input MB wall_s cpu_s mem_MB wall_s cpu_s mem_MB wall_ratio cpu_ratio
for input in pages one-line; do
    file=$work/$input.html
    size=$(awk "BEGIN { printf \"%.1f\", $(stat -c %s "$file") / 1000000 }")
    read -r ours_wall ours_cpu ours_mb <<<"$(measure "$cli" --text "$file")"
    read -r w3m_wall w3m_cpu w3m_mb <<<"$(measure w3m -dump -T text/html -O UTF-8 "$file")"
    printf '%-9s %6s | %8s %7s %7s | %8s %7s %7s | %10s %9s\n' "$input" "$size" \
        "$ours_wall" "$ours_cpu" "$ours_mb" "$w3m_wall" "$w3m_cpu" "$w3m_mb" \
        "$(ratio "$w3m_wall" "$ours_wall")" "$(ratio "$w3m_cpu" "$ours_cpu")"
done
