#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, only
# those that are missing. Run as root on Debian 12.
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config dpkg-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev
  fonts-noto-cjk
  clang libclang-rt-14-dev
  libpugixml-dev libcgal-dev
  qt6-svg-dev libdxflib-dev
  xvfb xauth
  qt6-translations-l10n
  poppler-utils
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}"
fi
