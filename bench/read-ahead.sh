#!/usr/bin/env bash
# Would reading the next source while the current one is cut pay? A book of
# 500 mixed sources (100 each of text, HTML, .docx, EPUB and PDF, made from
# prose by pandoc and pdflatex) is made plain and with markup while strace
# notes when each reader's child process starts and ends (nothing else is
# traced). The time in the readers and the time between them (cutting and
# writing the pages) give the run's time had each source been read while
# the one before was cut: the sum of the larger of each overlapping pair,
# the gain an ideal second core would give; "untraced" is the run without strace.
#   bench/read-ahead.sh            (RUNS=3 by default; medians)
set -euo pipefail

source "$(dirname "$0")/bench-common.sh"
need_tools pandoc strace pdflatex:texlive-latex-base
cli=${CLI:-$cli}
runs=${RUNS:-3}

# Ten documents of each kind, each of about 40 to 120 KB of prose in
# chapters, copied ten times under their own names.
mkdir "$work/made" "$work/sources"
for i in $(seq 0 9); do
    python3 - "$i" >"$work/made/doc$i.md" <<'PY'
import random, sys
sys.path.insert(0, "bench")
from importlib import import_module
gen = import_module("cutter-make-text")
rng = random.Random(int(sys.argv[1]))
for chapter in range(1, rng.randint(3, 8)):
    print(f"# Chapter {chapter}\n")
    for _ in range(rng.randint(20, 60)):
        print(gen.line(rng, rng.randint(200, 900)) + "\n")
PY
    pandoc "$work/made/doc$i.md" -o "$work/made/doc$i.html" --standalone --metadata title="Doc $i"
    pandoc "$work/made/doc$i.md" -o "$work/made/doc$i.docx"
    pandoc "$work/made/doc$i.md" -o "$work/made/doc$i.epub" --metadata title="Doc $i"
    head -c 60000 "$work/made/doc$i.md" | tr -d '#&%$_{}~^\\' >"$work/made/short$i.md"
    pandoc "$work/made/short$i.md" -o "$work/made/doc$i.pdf" --pdf-engine=pdflatex 2>/dev/null
    cp "$work/made/doc$i.md" "$work/made/doc$i.txt"
done
list=()
for n in $(seq -w 0 99); do
    i=$((10#$n % 10))
    for kind in txt html docx epub pdf; do
        cp "$work/made/doc$i.$kind" "$work/sources/$n-$kind.$kind"
        list+=("$work/sources/$n-$kind.$kind")
    done
done

printf '[MainSettings]\nCodePage=windows-1252\nCutTypeNum=0\nSingleFileSize0=4000\nInOutFileSize0=400\nCutWordNum=1\n[UserSettings]\nMyLagIndex=English\nCutTypeIndex=0\nKeepFileSize=0\nCutWord0=enter\nCutWord1=space\n' >"$work/plain.ini"
cp "$work/plain.ini" "$work/marked.ini"
printf '[NotesReader]\nPageEncoding=windows-1252\nLinks=1\nTitles=1\nContents=1\n' >>"$work/marked.ini"

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

printf '%-7s %8s %9s %9s %9s %9s %11s %7s\n' kind readers "untraced" "run s" "read s" "cut s" "overlap s" gain
for kind in plain marked; do
    : >"$work/figures"
    for ((r = 0; r < runs; r++)); do
        rm -rf "$work/out"
        mkdir "$work/out"
        /usr/bin/time -f '%e %U %S' -o "$work/untraced" "$cli" --settings "$work/$kind.ini" --book Book \
            --out "$work/out" "${list[@]}" >/dev/null 2>&1 || true
        rm -rf "$work/out"
        mkdir "$work/out"
        strace -f --seccomp-bpf -qq -ttt -e trace=fork,vfork,clone,clone3,exit_group -o "$work/trace" \
            "$cli" --settings "$work/$kind.ini" --book Book --out "$work/out" "${list[@]}" >/dev/null 2>&1 || true
        # The main process's pid is the trace's first; every child it forks is
        # a reader, alive from the fork to its exit.
        awk '
            NR == 1 { main = $1; start = $2 }
            { last = $2 }
            $1 == main && /^[0-9]+ +[0-9.]+ (fork|vfork|clone|clone3)\(/ && !/CLONE_THREAD/ {
                child = $NF; born[child] = $2; order[++n] = child
            }
            /exit_group\(/ && ($1 in born) { died[$1] = $2 }
            END {
                at = start; whole = last - start; overlapped = 0; previousCut = 0; readSum = 0
                for (i = 1; i <= n; ++i) {
                    c = order[i]; if (!(c in died)) continue
                    cut = born[c] - at; read = died[c] - born[c]; readSum += read
                    # What came before a reader (the cut of the source before
                    # it) could have gone on while it read; not so the first.
                    overlapped += i == 1 ? cut + read : (cut > read ? cut : read)
                    at = died[c]
                }
                tail = last - at
                overlapped += tail
                printf "%.3f %.3f %.3f %.3f %d\n", whole, readSum, whole - readSum, overlapped, n
            }' "$work/trace" | tr '\n' ' ' >>"$work/figures"
        cat "$work/untraced" >>"$work/figures"
    done
    whole=$(awk '{ print $1 }' "$work/figures" | median)
    read=$(awk '{ print $2 }' "$work/figures" | median)
    cut=$(awk '{ print $3 }' "$work/figures" | median)
    overlap=$(awk '{ print $4 }' "$work/figures" | median)
    readers=$(awk '{ print $5 }' "$work/figures" | median)
    untraced=$(awk '{ print $6 }' "$work/figures" | median)
    printf '%-7s %8d %9.3f %9.3f %9.3f %9.3f %11.3f %6.1f%%\n' "$kind" "$readers" "$untraced" "$whole" "$read" "$cut" \
        "$overlap" \
        "$(awk "BEGIN { print 100 * (1 - $overlap / $whole) }")"
done
