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
# Every case has a name ctest -R can pick: a parameterised suite without a
# name generator (tests/support/CaseName.h) shows up as a bare number.
if ctest --preset test -N | grep -E '^ *Test +#[0-9]+: .*/[0-9]+$'; then
  echo "test.sh: the cases above need names (tests/support/CaseName.h)" >&2
  exit 1
fi
ctest --preset test

# The core suites again under AddressSanitizer and UndefinedBehaviorSanitizer,
# the whole run path included (scripts/test-asan.sh without --core covers the
# windows too).
scripts/test-asan.sh --core

# The Debian package as users get it, checked by lintian and appstreamcli.
scripts/package.sh
# Every fuzz target on the inputs of its earlier findings and on its seeds,
# each once (longer runs are scripts/fuzz.sh SECONDS by hand).
scripts/fuzz.sh 0 fuzz_ini fuzz_html fuzz_rtf fuzz_compound_file fuzz_doc fuzz_pdf fuzz_page_cutter fuzz_epub \
  fuzz_docx fuzz_odt fuzz_mobi fuzz_chm fuzz_djvu fuzz_fb2 fuzz_markdown fuzz_zipped_book
