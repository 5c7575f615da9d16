#!/usr/bin/env bash
# Installs every Debian package Kestrix needs to build, test and run.
# Idempotent: when everything is present it only asks dpkg and returns.
# Works as root or through sudo.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  qtbase5-dev qtbase5-dev-tools qtbase5-private-dev libqt5xmlpatterns5-dev libqt5svg5-dev
  libqwt-qt5-dev libquazip1-qt5-dev
  libopencv-core-dev libopencv-imgproc-dev
  libpugixml-dev libzip-dev zipcmp zipmerge ziptool
  libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth imagemagick
  poppler-utils
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if [[ ${#missing[@]} -eq 0 ]]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "Need root or sudo to install packages" >&2; exit 1; }
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
