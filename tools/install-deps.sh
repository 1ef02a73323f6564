#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Quvela need.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-qpa-plugins libgl-dev
  libsqlite3-dev libzip-dev libpugixml-dev
  libixion-dev libboost-dev libgsf-1-dev qt6-translations-l10n
  libgtest-dev googletest libbenchmark-dev
  libxlsxwriter-dev python3 python3-openpyxl python3-xlsxwriter
  python3-xlrd python3-xlwt libreoffice-calc-nogui
  fonts-noto-cjk fonts-arphic-ukai fonts-arphic-uming fontconfig
  xvfb xauth poppler-utils
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
