#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the program need, and the further
# packages named as arguments (a CI step's own tools). --core leaves out what only the window
# needs (Qt, fonts, the desktop's tools), for a build with TARVOLA_BUILD_GUI=OFF.
# Idempotent: quiet when everything is present; refreshes the package lists
# only when something has to be installed.
set -euo pipefail

window=(
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 qt6-qpa-plugins
  libgl-dev xvfb xauth fonts-wine fonts-dejavu-core
  shared-mime-info desktop-file-utils appstream
)
if [ "${1:-}" = "--core" ]; then
  shift
  window=()
fi
packages=(
  g++ cmake ninja-build make pkg-config
  libexpat1-dev zlib1g-dev libgtest-dev libgmock-dev
  "${window[@]}"
  help2man man-db dpkg-dev file
  python3 unzip libxml2-utils libkml-dev
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
