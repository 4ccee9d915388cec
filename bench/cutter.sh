#!/usr/bin/env bash
# Cutter benchmark: leafmill-cli cutting text into 4,000-byte pages against
# `split -b 4000` on the same file into the same kind of folder.
#   bench/cutter.sh            (RUNS=5 by default; the median run counts)
# Prints wall times, peak resident memory, the ratio to split and the time
# per MB at 10 MB and at 100 MB. Targets: at most 1.3 times split, under 64 MB.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
runs=${RUNS:-5}

cd "$root"
cmake --preset bench >/dev/null
cmake --build --preset bench >/dev/null
cli="$root/build/bench/Leafmill/leafmill-cli"

work=$(mktemp -d "${TMPDIR:-/tmp}/leafmill-cutter-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

cat >"$work/bench.ini" <<'INI'
[MainSettings]
CodePage=windows-1252
CutTypeNum=0
SingleFileSize0=4000
InOutFileSize0=400
Filter=All files|*.*
CutWordNum=5
[UserSettings]
MyLagIndex=English
OpenFilesFilterIndex=1
CutTypeIndex=0
BookName=
KeepFileSize=0
InPutDir=
OutPutDir=
CutWord0=enter
CutWord1=.
CutWord2=!
CutWord3=?
CutWord4=;
CutWord5=space
INI

echo "Making the test files in $work ..."
python3 bench/cutter-make-text.py --mb 10 >"$work/crlf10.txt"
python3 bench/cutter-make-text.py --mb 100 >"$work/crlf100.txt"
python3 bench/cutter-make-text.py --mb 100 --lf >"$work/lf100.txt"

# calc EXPR: floating-point arithmetic.
calc() { awk "BEGIN { printf \"%.6f\", $1 }"; }

# once OUTFOLDER COMMAND...: one run into a fresh folder; prints "seconds peak_kib".
once() {
    local out=$1
    shift
    rm -rf "$out"
    mkdir -p "$out"
    sync
    local start end
    start=$(date +%s.%N)
    /usr/bin/time -f '%M' -o "$work/rss" "$@" >/dev/null
    end=$(date +%s.%N)
    echo "$(calc "$end - $start") $(tail -n 1 "$work/rss")"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

printf '\n%-14s %-8s %10s %10s %8s %8s %10s\n' file tool "median s" "s per MB" "peak MB" pages "x split"
status=0
declare -A perMb
for name in crlf10 crlf100 lf100; do
    file="$work/$name.txt"
    mb=$(( $(stat -c %s "$file") / 1048576 ))
    cat "$file" >/dev/null  # in the page cache for both tools
    # Runs alternate, so a change in the machine's load hits both tools alike.
    : >"$work/split.t"
    : >"$work/cli.t"
    splitRss=0
    cliRss=0
    for ((i = 0; i < runs; i++)); do
        read -r t r < <(once "$work/split/Book" split -b 4000 -d -a 6 "$file" "$work/split/Book/Book")
        echo "$t" >>"$work/split.t"
        if ((r > splitRss)); then splitRss=$r; fi
        read -r t r < <(once "$work/cli/Book" "$cli" --settings "$work/bench.ini" --book Book --out "$work/cli" "$file")
        echo "$t" >>"$work/cli.t"
        if ((r > cliRss)); then cliRss=$r; fi
    done
    splitTime=$(median <"$work/split.t")
    cliTime=$(median <"$work/cli.t")
    splitPages=$(find "$work/split/Book" -type f | wc -l)
    cliPages=$(find "$work/cli/Book" -type f | wc -l)
    ratio=$(calc "$cliTime / $splitTime")
    for tool in split leafmill-cli; do
        if [ $tool = split ]; then t=$splitTime; r=$splitRss; p=$splitPages; x=1; else t=$cliTime; r=$cliRss; p=$cliPages; x=$ratio; fi
        printf '%-14s %-8s %10.3f %10.4f %8.1f %8d %10.2f\n' "$name" "${tool:0:8}" "$t" "$(calc "$t / $mb")" \
            "$(calc "$r / 1024")" "$p" "$x"
    done
    perMb[$name]=$(calc "$cliTime / $mb")
    if awk "BEGIN { exit !($ratio > 1.3) }"; then echo "  over target: $name takes $(printf %.2f "$ratio") times split's time"; status=1; fi
    if (( cliRss >= 65536 )); then echo "  over target: $name peaks at $((cliRss / 1024)) MB"; status=1; fi
done
rm -rf "$work/split" "$work/cli"

printf '\nleafmill-cli time per MB: %.4f s at 10 MB, %.4f s at 100 MB (ratio %.2f; 1 is linear)\n' \
    "${perMb[crlf10]}" "${perMb[crlf100]}" "$(calc "${perMb[crlf100]} / ${perMb[crlf10]}")"
[ $status -eq 0 ] && echo "Targets met: at most 1.3 times split, under 64 MB peak." || echo "Targets missed."
exit $status
