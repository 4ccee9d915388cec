#!/usr/bin/env bash
# Builds the Release programs and makes the Debian package of them:
# build/release/leafmill_<version>_<arch>.deb. Install it with
#   sudo apt install ./build/release/leafmill_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release
(cd build/release && cpack -G DEB)
ls build/release/leafmill_*.deb
