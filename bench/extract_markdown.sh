#!/usr/bin/env bash
# Times the Markdown reader (leafmill-cli --text) on generated novels of the
# given sizes in MB (default 1 10 100): chapters of paragraphs with bulleted
# lists, code blocks and reference links. Prints the best CPU seconds of three
# runs and the peak memory; time should grow with the size, not faster, and
# the memory stay near that of the smallest.
#
#   bench/extract_markdown.sh [MB ...]
set -euo pipefail

source "$(dirname "$0")/bench-common.sh"
[ $# -gt 0 ] || set -- 1 10 100
runs=3

make_novel() {
    python3 - "$1" "$2" <<'PY'
import random, sys
random.seed(3)
words = ("the salt road ran east from village through marshes where ground was white in summer grey "
         "winter carts had worn two deep tracks").split()
def sentence(count):
    return " ".join(random.choice(words) for _ in range(count))
target, size, chapter = int(sys.argv[2]) * 1_000_000, 0, 0
with open(sys.argv[1], "w") as out:
    while size < target:
        chapter += 1
        parts = [f"# Chapter {chapter}\n\n"]
        for _ in range(40):
            kind = random.random()
            if kind < 0.05:
                parts.append(f"- {sentence(8)}\n- {sentence(6)}\n\n")
            elif kind < 0.08:
                parts.append(f"```\ncode {sentence(5)}\n```\n\n")
            elif kind < 0.12:
                parts.append(f"See [the road][r{chapter % 50}] and *{sentence(3)}*.\n\n")
            else:
                parts.append(sentence(random.randint(40, 120)).capitalize() + ".\n\n")
        text = "".join(parts)
        out.write(text)
        size += len(text)
    out.write("".join(f"[r{k}]: http://example.com/{k}\n" for k in range(50)))
PY
}

printf '%-6s | %7s %7s\n' MB cpu_s mem_MB
for megabytes in "$@"; do
    make_novel "$work/novel.md" "$megabytes"
    cpu="" peak=0
    for _ in $(seq "$runs"); do
        /usr/bin/time -o "$work/time" -f '%U %S %M' "$cli" --text "$work/novel.md" >/dev/null 2>/dev/null || true
        # A refused document's line comes first.
        read -r user system kilobytes < <(tail -n 1 "$work/time")
        spent=$(awk "BEGIN { print $user + $system }")
        if [ -z "$cpu" ] || awk "BEGIN { exit !($spent < $cpu) }"; then cpu=$spent; fi
        [ "$kilobytes" -gt "$peak" ] && peak=$kilobytes
    done
    printf '%-6s | %7s %7s\n' "$megabytes" "$cpu" "$((peak / 1024))"
done
