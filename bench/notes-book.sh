#!/usr/bin/env bash
# Books for the Notes reader from one text of chapters, at 10 and 100 MB (and
# 1,000 MB with FULL=1): plain pages, and pages with links, titles and
# contents. Prints the median wall time, the peak memory (the readers' child
# included), the time per MB and the ratio to a loop of open/write/close that
# writes the same pages; with strace installed, the system calls of the
# 10 MB book, plain and with markup, into a new folder and over the book made
# before, per note, with the creates, renames and removes among them (each a
# directory write on an iPod's FAT disk).
#   bench/notes-book.sh            (RUNS=3 by default)
# Targets: time per MB flat from 10 to 100 MB, peak memory flat and at most
# 16 MB; the book at most 1.2 times the loop's time.
set -euo pipefail

source "$(dirname "$0")/bench-common.sh"
# CLI=PATH measures another build of the program (an earlier one, say).
cli=${CLI:-$cli}
runs=${RUNS:-3}
sizes=${SIZES:-"10 100"}
[ "${FULL:-0}" = 1 ] && sizes="$sizes 1000"

for kind in plain marked; do
    cat >"$work/$kind.ini" <<'INI'
[MainSettings]
CodePage=windows-1252
CutTypeNum=0
SingleFileSize0=4000
InOutFileSize0=400
CutWordNum=2
[UserSettings]
MyLagIndex=English
CutTypeIndex=0
KeepFileSize=0
CutWord0=enter
CutWord1=.
CutWord2=space
INI
done
printf '[NotesReader]\nPageEncoding=windows-1252\nLinks=1\nTitles=1\nContents=1\n' >>"$work/marked.ini"

# The loop the book is held against: every page of FOLDER written anew into
# OUT with one open, one write and one close.
cat >"$work/pageloop.c" <<'C'
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>
int main(int argc, char** argv)
{
    DIR* dir = opendir(argv[1]);
    struct dirent* e;
    size_t n = 0, cap = 1024;
    char** pages = malloc(cap * sizeof *pages);
    size_t* sizes = malloc(cap * sizeof *sizes);
    char path[4096];
    while ((e = readdir(dir))) {
        if (e->d_name[0] == '.')
            continue;
        snprintf(path, sizeof path, "%s/%s", argv[1], e->d_name);
        int fd = open(path, O_RDONLY);
        if (n == cap) {
            cap *= 2;
            pages = realloc(pages, cap * sizeof *pages);
            sizes = realloc(sizes, cap * sizeof *sizes);
        }
        pages[n] = malloc(8192);
        sizes[n] = (size_t)read(fd, pages[n], 8192);
        close(fd);
        ++n;
    }
    struct timespec a, b;
    clock_gettime(CLOCK_MONOTONIC, &a);
    for (size_t i = 0; i < n; ++i) {
        snprintf(path, sizeof path, "%s/Book%06zu.txt", argv[2], i);
        int fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 || write(fd, pages[i], sizes[i]) != (ssize_t)sizes[i] || close(fd) != 0)
            return 1;
    }
    clock_gettime(CLOCK_MONOTONIC, &b);
    printf("%.3f\n", (double)(b.tv_sec - a.tv_sec) + (double)(b.tv_nsec - a.tv_nsec) / 1e9);
    return 0;
}
C
cc -O2 -o "$work/pageloop" "$work/pageloop.c"

calc() { awk "BEGIN { printf \"%.4f\", $1 }"; }
median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

printf '%-8s %-7s %9s %9s %9s %8s %9s\n' MB pages "median s" "s per MB" "peak MB" notes "x loop"
for mb in $sizes; do
    # Chapters of 20 to 60 KB, each opened by its heading.
    python3 bench/cutter-make-text.py --mb "$mb" | python3 -c '
import random, sys
src, rng, n, at = sys.stdin.buffer.read(), random.Random(1), 0, 0
out = sys.stdout.buffer
while at < len(src):
    n += 1
    step = rng.randint(20000, 60000)
    out.write(b"\r\nChapter %d\r\n\r\n" % n + src[at:at + step])
    at += step' >"$work/book.txt"
    cat "$work/book.txt" >/dev/null
    for kind in plain marked; do
        : >"$work/times"
        peak=0
        for ((i = 0; i < runs; i++)); do
            rm -rf "$work/out"
            mkdir "$work/out"
            /usr/bin/time -f '%e %M' -o "$work/rss" "$cli" --settings "$work/$kind.ini" --book Book \
                --out "$work/out" "$work/book.txt" >/dev/null 2>&1 || true
            read -r t r <"$work/rss"
            echo "$t" >>"$work/times"
            ((r > peak)) && peak=$r
        done
        t=$(median <"$work/times")
        notes=$(find "$work/out/Book" -type f | wc -l)
        rm -rf "$work/loop"
        mkdir "$work/loop"
        loop=$("$work/pageloop" "$work/out/Book" "$work/loop")
        printf '%-8s %-7s %9.3f %9.4f %9.1f %8d %9.2f\n' "$mb" "$kind" "$t" "$(calc "$t / $mb")" \
            "$(calc "$peak / 1024")" "$notes" "$(calc "$t / $loop")"
    done
    if [ "$mb" = 10 ] && command -v strace >/dev/null; then
        # Into a folder that does not exist yet, and over the book made before.
        for kind in plain marked; do
            rm -rf "$work/out"
            mkdir "$work/out"
            for case in new replacing; do
                strace -f -qq -o "$work/strace" "$cli" --settings "$work/$kind.ini" --book Book --out "$work/out" \
                    "$work/book.txt" >/dev/null 2>&1 || true
                notes=$(find "$work/out/Book" -type f | wc -l)
                awk -v notes="$notes" -v what="$kind $case" '
                    /^[0-9]+ +[a-z_0-9]+\(/ && !/resumed>/ {
                        ++calls
                        if (/^[0-9]+ +(open|openat|creat)\(/ && /O_CREAT|^[0-9]+ +creat\(/ || /^[0-9]+ +mkdir(at)?\(/) ++creates
                        if (/^[0-9]+ +rename(at|at2)?\(/) ++renames
                        if (/^[0-9]+ +(unlink|unlinkat|rmdir)\(/) ++removes
                    }
                    END {
                        printf "system calls, 10 MB %s: %.2f a note (%d notes); a note: %.2f creates, %.2f renames, %.2f removes\n",
                            what, calls / notes, notes, creates / notes, renames / notes, removes / notes
                    }' "$work/strace"
            done
        done
    fi
done
