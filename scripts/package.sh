#!/usr/bin/env bash
# Builds the Release programs, makes the Debian package of them,
# build/release/leafmill_<version>_<arch>.deb, and checks it as Debian would:
# lintian (pedantic) must find no error and no warning, and appstreamcli the
# AppStream data valid. Install it with
#   sudo apt install ./build/release/leafmill_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release
rm -f build/release/leafmill_*.deb
(cd build/release && cpack -G DEB >/dev/null)
deb=$(ls build/release/leafmill_*.deb)

lintian --pedantic --display-info --fail-on error,warning --tag-display-limit 0 "$deb"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
appstreamcli validate --no-net --pedantic "$root"/usr/share/metainfo/*.metainfo.xml
appstreamcli validate-tree --no-net "$root"
echo "$deb"
