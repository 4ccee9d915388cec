#!/usr/bin/env bash
# Times the HTML filter (leafmill-cli --text) against w3m -dump on the same
# large pages: the corpus pages concatenated into one page of tens of MB, and
# a minified page repeated on one single line. Prints seconds, peak memory and
# the ratio (w3m time / leafmill time; above 1 means leafmill is faster).
#
#   bench/extract_html.sh [size in MB, default 40]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
corpus=${LEAFMILL_CORPUS:-$root/../shared/corpus}/html
megabytes=${1:-40}
runs=3

cd "$root"
cmake --preset bench >/dev/null
cmake --build --preset bench
cli=$root/build/bench/Leafmill/leafmill-cli

if ! command -v w3m >/dev/null; then
    sudo_if_needed=$([ "$(id -u)" -eq 0 ] || echo sudo)
    $sudo_if_needed apt-get install -y w3m >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

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

# Best wall-clock seconds of $runs runs, and the peak resident memory in MB.
measure() {
    local best="" peak=0 line seconds kilobytes
    for _ in $(seq "$runs"); do
        line=$( { /usr/bin/time -f '%e %M' "$@" >/dev/null 2>/dev/null; } 2>&1 | tail -1)
        read -r seconds kilobytes <<<"$line"
        if [ -z "$best" ] || awk "BEGIN { exit !($seconds < $best) }"; then best=$seconds; fi
        [ "$kilobytes" -gt "$peak" ] && peak=$kilobytes
    done
    echo "$best $((peak / 1024))"
}

printf '%-14s %8s %12s %10s %12s %10s %8s\n' input MB leafmill_s leafmill_MB w3m_s w3m_MB ratio
for input in pages one-line; do
    file=$work/$input.html
    size=$(awk "BEGIN { printf \"%.1f\", $(stat -c %s "$file") / 1000000 }")
    read -r ours ours_mb <<<"$(measure "$cli" --text "$file")"
    read -r theirs theirs_mb <<<"$(measure w3m -dump -T text/html -O UTF-8 "$file")"
    ratio=$(awk "BEGIN { printf \"%.2f\", $theirs / ($ours > 0 ? $ours : 0.01) }")
    printf '%-14s %8s %12s %10s %12s %10s %8s\n' "$input" "$size" "$ours" "$ours_mb" "$theirs" "$theirs_mb" "$ratio"
done
