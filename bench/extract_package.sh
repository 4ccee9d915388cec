#!/usr/bin/env bash
# Times the Word (.docx) and OpenDocument (.odt) readers (leafmill-cli --text)
# against pandoc -t plain on generated documents of 1, 10 and 100 times a
# realistic size (about 300 KB of text at 1x: headings, lists, tables,
# footnotes, styles). Prints the medians of interleaved runs (CPU seconds and
# peak memory) and the ratios leafmill / pandoc. pandoc is installed for the
# run where it can be; without it leafmill's numbers are printed alone.
#
#   bench/extract_package.sh [scales, default "1 10 100"] [runs, default 3]
set -euo pipefail

source "$(dirname "$0")/bench-common.sh"
scales=${1:-1 10 100}
runs=${2:-3}

have_pandoc=yes
need_tools pandoc 2>/dev/null || have_pandoc=
[ -n "$have_pandoc" ] || echo "pandoc is not installed and could not be: leafmill's numbers only"

for scale in $scales; do
    python3 "$root/bench/extract_package_make.py" "$scale" "$work/book$scale.docx" "$work/book$scale.odt"
    for kind in docx odt; do
        file=$work/book$scale.$kind
        label="$kind ${scale}x ($(($(stat -c %s "$file") / 1024)) KB)"
        if [ -n "$have_pandoc" ]; then
            python3 "$root/bench/compare.py" "$runs" "$label" -- "$cli" --text "$file" -- pandoc -t plain "$file"
        else
            python3 "$root/bench/compare.py" "$runs" "$label" -- "$cli" --text "$file" -- "$cli" --text "$file"
        fi
    done
done
