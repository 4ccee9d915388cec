#!/usr/bin/env bash
# Sets up the machine, builds everything with warnings as errors and runs
# every test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
# The sources keep one layout (.clang-format); a file out of it fails here.
find src tests fuzz tools \( -name '*.cpp' -o -name '*.h' \) -not -path 'tests/fixtures/*' -print0 |
  xargs -0 clang-format --dry-run -Werror
# The fuzz targets are a project of their own (scripts/fuzz.sh builds and
# runs them); it must keep configuring as the core's build changes.
cmake -S fuzz -B build/fuzz-configure -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
cmake --preset test >/dev/null
cmake --build --preset test
ctest --preset test

# The core suites again under AddressSanitizer and UndefinedBehaviorSanitizer,
# the whole run path included (scripts/test-asan.sh without --core covers the
# windows too).
scripts/test-asan.sh --core

# Every fuzz target on the inputs of its earlier findings, then 30 s on its seeds.
scripts/fuzz.sh 30
