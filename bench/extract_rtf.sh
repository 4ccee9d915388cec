#!/usr/bin/env bash
# Times the RTF reader (leafmill-cli --text) against unrtf --text on the same
# large documents: a real Word document (the largest of the corpus) repeated
# inside one outer group, and a generated document with escapes, Unicode,
# tables, fields and pictures. Prints CPU seconds (user and system: the
# machine may be shared), peak memory and the ratio (unrtf time / leafmill
# time; above 2 means leafmill is more than twice as fast). Run it at 1x, 10x
# and 100x a realistic size (2, 20, 200): the peak should hardly grow, as the
# reader hands its text on and gives back the pages of the document it read.
#
#   bench/extract_rtf.sh [size in MB, default 30]
set -euo pipefail

source "$(dirname "$0")/bench-common.sh"
corpus=${LEAFMILL_CORPUS:-$root/../shared/corpus}/rtf
megabytes=${1:-30}
runs=3

need_tools unrtf

limit=$((megabytes * 1000000))

# The Word document, whole, again and again inside one document.
word=$corpus/strip_issue_29_good.rtf
{
    printf '{\\rtf1\\ansi\\ansicpg1251\n'
    written=0
    while [ "$written" -lt "$limit" ]; do
        cat "$word"
        written=$((written + $(stat -c %s "$word")))
    done
    printf '}\n'
} >"$work/word.rtf"

# One generated unit of about 4 KB, repeated.
unit=$work/unit.rtf
{
    for i in $(seq 20); do
        printf '\\pard\\plain\\f1\\fs24 Paragraph %d with {\\b bold} and {\\i italic} words, ' "$i"
        printf '\\'"'"'cf\\'"'"'f0\\'"'"'e8\\'"'"'e2\\'"'"'e5\\'"'"'f2 escapes and \\u1055?\\u1088?\\u1080? Unicode.\\par\n'
    done
    printf '\\trowd\\cellx2000\\cellx4000\\intbl cell one\\cell cell two\\cell\\row\\pard\n'
    printf '{\\field{\\*\\fldinst HYPERLINK "http://example.com/"}{\\fldrslt a link}}\\par\n'
    printf '{\\pict\\pngblip\\picw10\\pich10 '
    head -c 600 /dev/zero | tr '\0' 'a'
    printf '}\\par\n'
} >"$unit"
{
    printf '{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset204 Times New Roman;}}\n'
    written=0
    unit_size=$(stat -c %s "$unit")
    while [ "$written" -lt "$limit" ]; do
        cat "$unit" "$unit" "$unit" "$unit" "$unit" "$unit" "$unit" "$unit"
        written=$((written + 8 * unit_size))
    done
    printf '}\n'
} >"$work/generated.rtf"

# Best CPU seconds of $runs runs, and the peak resident memory in MB.
measure() {
    local best="" peak=0 line seconds user system kilobytes
    for _ in $(seq "$runs"); do
        /usr/bin/time -o "$work/time" -f '%U %S %M' "$@" >/dev/null 2>/dev/null
        line=$(tail -1 "$work/time")
        read -r user system kilobytes <<<"$line"
        seconds=$(awk "BEGIN { print $user + $system }")
        if [ -z "$best" ] || awk "BEGIN { exit !($seconds < $best) }"; then best=$seconds; fi
        [ "$kilobytes" -gt "$peak" ] && peak=$kilobytes
    done
    echo "$best $((peak / 1024))"
}

# unrtf writes the pictures it meets into the current folder.
cd "$work"
printf '%-12s %8s %12s %12s %10s %10s %8s\n' input MB leafmill_s leafmill_MB unrtf_s unrtf_MB ratio
for input in word generated; do
    file=$work/$input.rtf
    size=$(awk "BEGIN { printf \"%.1f\", $(stat -c %s "$file") / 1000000 }")
    read -r ours ours_mb <<<"$(measure "$cli" --text "$file")"
    read -r theirs theirs_mb <<<"$(measure unrtf --text "$file")"
    ratio=$(awk "BEGIN { printf \"%.2f\", $theirs / ($ours > 0 ? $ours : 0.01) }")
    printf '%-12s %8s %12s %12s %10s %10s %8s\n' "$input" "$size" "$ours" "$ours_mb" "$theirs" "$theirs_mb" "$ratio"
done
