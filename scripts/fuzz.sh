#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each from the sample files for a while; fails on
# any crash, leak or sanitizer report.  Usage: scripts/fuzz.sh [BUILD_DIR] [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-fuzz}
seconds=${2:-60}
./scripts/install-deps.sh clang libclang-rt-14-dev

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTARVOLA_BUILD_GUI=OFF -DTARVOLA_BUILD_BENCH=OFF -DTARVOLA_FUZZ=ON >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" --target gps_gpx_fuzz kml_fuzz

# The seeds: the sample corpus when it is there, the test inputs and the example.
seeds=("$(mktemp -d)")
trap 'rm -rf "${seeds[0]}"' EXIT
corpus=${TARVOLA_CORPUS_DIR:-../shared/corpus}
[ -d "$corpus/gpx" ] && find "$corpus/gpx" -name '*.gpx' -exec cp {} "${seeds[0]}" \;
cp examples/*.gpx tests/kml/data/*.gpx "${seeds[0]}"
for target in tests/gps/gps_gpx_fuzz tests/kml/kml_fuzz; do
  work=$(mktemp -d)
  log="$work.log"
  echo "== $(basename "$target"): $seconds s"
  status=0
  "$build/$target" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=1 \
    "$work" "${seeds[@]}" >"$log" 2>&1 || status=$?
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$log"
    echo "$target failed (exit $status)"
    exit 1
  fi
  grep -E '^stat::number_of_executed_units' "$log"
  rm -rf "$work" "$log"
done
