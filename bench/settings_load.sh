#!/usr/bin/env bash
# Time and peak memory of loading settings with the largest tables accepted:
# rows 0..9999 of the cut-type table and of the cut words, against the
# shipped main.ini, each through leafmill-cli --text on a one-line source.
# Usage: bench/settings_load.sh   (LEAFMILL_CLI names a built tool to use
# instead of building the bench preset). Target: under 0.5 s.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${LEAFMILL_CLI:-}" ]; then
  cmake --preset bench -S "$root" >/dev/null
  cmake --build --preset bench >/dev/null
  LEAFMILL_CLI="$root/build/bench/Leafmill/leafmill-cli"
fi
program_dir=$(dirname "$LEAFMILL_CLI")
work=$(mktemp -d "${TMPDIR:-/tmp}/leafmill-settings.XXXXXX")
trap 'rm -rf "$work"' EXIT
printf 'one line\r\n' > "$work/a.txt"

python3 - "$program_dir/main.ini" "$work/large.ini" <<'PY'
import re, sys
shipped, large = sys.argv[1], sys.argv[2]
text = open(shipped, encoding="utf-8").read()
rows = "".join(f"SingleFileSize{i}={2000 + i}\r\nInOutFileSize{i}=200\r\n" for i in range(10000))
words = "".join(f"CutWordDef{i}=w{i}\r\n" for i in range(10000))
text = re.sub(r"CutTypeNum=\d+\r?\n(SingleFileSize\d+=\d+\r?\nInOutFileSize\d+=\d+\r?\n)+",
              lambda m: "CutTypeNum=9999\r\n" + rows, text)
text = re.sub(r"CutWordNum=\d+\r?\n(CutWordDef\d+=.*\r?\n)+", lambda m: "CutWordNum=9999\r\n" + words, text)
text = re.sub(r"(CutWord\d+=.*\r?\n)+(?=\s*(;|\[|$))", lambda m: "".join(f"CutWord{i}=w{i}\r\n" for i in range(10000)), text, count=1)
assert "CutTypeNum=9999" in text and "CutWordNum=9999" in text and "CutWord9999=" in text
open(large, "w", encoding="utf-8", newline="").write(text)
PY

# measure NAME SETTINGS: the best of three runs' wall time, and the peak RSS.
measure() {
  local best="" kilobytes=0
  for _ in 1 2 3; do
    /usr/bin/time -f "%e %M" -o "$work/time" "$LEAFMILL_CLI" --settings "$2" --text "$work/a.txt" >/dev/null
    read -r seconds kilobytes < <(tail -1 "$work/time")
    if [ -z "$best" ] || awk "BEGIN{exit !($seconds < $best)}"; then best=$seconds; fi
  done
  printf '%-40s %6.2f s %6d MB peak RSS\n' "$1" "$best" $((kilobytes / 1024))
}
measure "shipped main.ini" "$program_dir/main.ini"
measure "10,000 cut types and 10,000 cut words" "$work/large.ini"
