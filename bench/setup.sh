#!/usr/bin/env bash
# Installs what only the benchmarks need: pugixml (the parser yardstick) and the two converters
# they are compared with. Idempotent; the tests never need any of these.
set -euo pipefail

packages=(libpugixml-dev gpsbabel gdal-bin)

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
