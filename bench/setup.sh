#!/usr/bin/env bash
# Installs what only the benchmarks need beside the build's own packages: pugixml (the parser
# yardstick) and the two converters they are compared with. The tests never need any of these.
set -euo pipefail
exec "$(dirname "$0")/../scripts/install-deps.sh" libpugixml-dev gpsbabel gdal-bin
