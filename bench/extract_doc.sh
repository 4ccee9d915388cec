#!/usr/bin/env bash
# Times the Word .doc reader (leafmill-cli --text) against antiword and catdoc
# on the corpus .doc files that all three read: each of the files with the
# most text converted many times in a row by each tool. Prints seconds per tool, peak
# memory and the ratios (their time / ours; above 1 means leafmill is faster).
#
#   bench/extract_doc.sh [conversions per file, default 40] [number of files, default 8]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
corpus=${LEAFMILL_CORPUS:-$root/../shared/corpus}/doc
repeats=${1:-40}
count=${2:-8}

cd "$root"
cmake --preset bench >/dev/null
cmake --build --preset bench
cli=$root/build/bench/Leafmill/leafmill-cli

for tool in antiword catdoc; do
    if ! command -v "$tool" >/dev/null; then
        sudo_if_needed=$([ "$(id -u)" -eq 0 ] || echo sudo)
        $sudo_if_needed apt-get install -y "$tool" >/dev/null
    fi
done

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

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# CPU seconds (user + system, the machine is shared) of `repeats` conversions
# of one file, the wall-clock seconds, and the peak memory in MB.
measure() {
    local command=$1 file=$2 wall user system kilobytes
    /usr/bin/time -f '%e %U %S %M' -o "$work/time" \
        bash -c 'for _ in $(seq "$1"); do $2 "$3" >/dev/null 2>&1; done' _ "$repeats" "$command" "$file"
    read -r wall user system kilobytes <"$work/time"
    awk "BEGIN { printf \"%.3f %.2f %.1f\", $user + $system, $wall, $kilobytes / 1024 }"
}

ratio() { awk "BEGIN { printf \"%.2f\", $1 / ($2 > 0 ? $2 : 0.001) }"; }

echo "CPU seconds for $repeats conversions of each file (wall seconds in brackets), peak MB"
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
