#!/usr/bin/env bash
# Builds the fuzz targets (clang 14, libFuzzer, ASan + UBSan), runs each on the
# inputs of its earlier findings (fuzz/regressions/<target>/, each once and
# whole), then fuzzes each for SECONDS, two at a time; with 0 seconds each
# runs its corpus once, without fuzzing.
# Usage: scripts/fuzz.sh SECONDS [TARGET...]
# Findings land in build/fuzz/findings/<target>/, logs in build/fuzz/logs/.
set -euo pipefail

seconds=${1:?usage: scripts/fuzz.sh SECONDS [TARGET...]}
shift
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/fuzz"
compiler=$(command -v clang++-14 || command -v clang++)
# Leaks that a library keeps to itself are no finding of ours (the list names
# each library and why).
export LSAN_OPTIONS="suppressions=$root/fuzz/lsan-libraries.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

cmake -S "$root/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER="$compiler" >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(fuzz_ini fuzz_html fuzz_rtf fuzz_compound_file fuzz_doc fuzz_pdf fuzz_page_cutter fuzz_epub fuzz_docx fuzz_odt
    fuzz_mobi fuzz_chm fuzz_djvu fuzz_fb2 fuzz_markdown fuzz_zipped_book)
fi
cmake --build "$build" -j2 --target "${targets[@]}"

# Seeds: copied into each target's working corpus, which keeps growing from
# run to run.
while read -r target source pattern; do
  case "$target" in ''|'#'*) continue ;; esac
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  if [ -f "$root/$source" ]; then
    cp -n "$root/$source" "$corpus/" 2>/dev/null || true
  elif [ -d "$root/$source" ]; then
    find "$root/$source" -maxdepth 1 -type f -name "${pattern:-*}" -exec cp -n {} "$corpus/" \; 2>/dev/null || true
  fi
done < "$root/fuzz/seeds.txt"

options_for() {
  case "$1" in
    fuzz_page_cutter) echo "-max_len=4096" ;;
    fuzz_ini) echo "-max_len=8192" ;;
    fuzz_html|fuzz_rtf) echo "-max_len=65536" ;;
    *) echo "-max_len=524288" ;;
  esac
}

run_one() {
  local target=$1
  mkdir -p "$build/findings/$target" "$build/logs" "$build/corpus/$target"
  local regressions="$root/fuzz/regressions/$target"
  if [ -d "$regressions" ] && ! "$build/$target" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$build/findings/$target/" "$regressions"/* >"$build/logs/$target.regressions.log" 2>&1; then
    echo "$target: an input of fuzz/regressions/$target fails again (build/fuzz/logs/$target.regressions.log)"
    touch "$build/findings/$target/regression-failed"
    return
  fi
  # shellcheck disable=SC2046
  /usr/bin/time -f "cpu %U %S" -o "$build/logs/$target.time" \
    "$build/$target" "$build/corpus/$target" $(options_for "$target") \
    $(if [ "$seconds" -eq 0 ]; then echo "-runs=0"; else echo "-max_total_time=$seconds"; fi) -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$build/findings/$target/" >"$build/logs/$target.log" 2>&1 || true
  local cpu
  cpu=$(awk '/^cpu/ { printf "%.0f", $2 + $3 }' "$build/logs/$target.time")
  local runs
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$build/logs/$target.log" | grep -o '[0-9]*$' || echo "?")
  local found
  found=$(find "$build/findings/$target" -type f | wc -l)
  local span="${seconds}s wall"
  [ "$seconds" -ne 0 ] || span="its corpus once"
  echo "$target: ${span}, ${cpu}s CPU, ${runs} executions, ${found} finding(s) in build/fuzz/findings/$target"
}
export -f run_one options_for
export build seconds root

printf '%s\n' "${targets[@]}" | xargs -P 2 -I{} bash -c 'run_one {}'
if find "$build/findings" -type f | grep -q .; then
  echo "findings to look at:"
  find "$build/findings" -type f
  exit 1
fi
