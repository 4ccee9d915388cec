#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build, run and test Leafmill.
# Idempotent: quiet and quick when everything is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev
  libicu-dev libgtest-dev libgmock-dev libpoppler-private-dev
  xvfb xauth xdotool x11-utils imagemagick openbox metacity
  python3 python3-pil
  time
  clang-14 libclang-rt-14-dev clang-format
  libminizip-dev libpugixml-dev libuchardet-dev libcmark-dev libxcb1-dev
  libmobi-dev libchm-dev libdjvulibre-dev libxml2-dev liblzma-dev libjpeg-dev
  dpkg-dev file lintian appstream
  fonts-dejavu-core fonts-dejavu-extra fonts-wqy-microhei
  qt6-translations-l10n shared-mime-info
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
