#!/usr/bin/env bash
# Builds the asan preset (AddressSanitizer + UndefinedBehaviorSanitizer) and
# runs every test suite under it.
#   scripts/test-asan.sh          everything, windows included (build/asan)
#   scripts/test-asan.sh --core   without the Qt front end and its tests
#                                 (build/asan-core), for a shorter CI step
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

# Any report fails the test that caused it; leaks too, except those of the
# system's desktop libraries, which keep caches until the process ends.
mkdir -p build
cat > build/lsan-system-libraries.supp <<'SUPP'
leak:libdbus-1.so
leak:libfontconfig.so
leak:libglib-2.0.so
leak:libxkbcommon
leak:libX11.so
leak:libxcb
SUPP
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$PWD/build/lsan-system-libraries.supp:print_suppressions=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

if [ "${1:-}" = "--core" ]; then
  cmake --preset asan -B build/asan-core -DLEAFMILL_BUILD_GUI=OFF >/dev/null
  cmake --build build/asan-core
  ctest --test-dir build/asan-core --output-on-failure -j 2 --timeout 600
else
  cmake --preset asan >/dev/null
  cmake --build --preset asan
  ctest --preset asan
fi
