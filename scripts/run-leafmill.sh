#!/usr/bin/env bash
# Sets up the machine, builds the Release program folder and starts Leafmill.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release
exec build/release/Leafmill/leafmill "$@"
