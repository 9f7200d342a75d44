#!/usr/bin/env bash
# Runs every benchmark that has been built: bench/run.sh BUILD_DIR (`make bench` builds first).
set -euo pipefail
BUILD=${1:-build}
BENCH="$BUILD/bench"
if [ ! -x "$BENCH/tarvola_gpx_generator" ]; then
  echo "no benchmarks in $BENCH: build first (make bench)" >&2
  exit 1
fi
WORK=$(mktemp -d "${TMPDIR:-/tmp}/tarvola-bench.XXXXXX")
trap 'rm -rf "$WORK"' EXIT

FILE1M="$WORK/track-1m.gpx"
FILE100K="$WORK/track-100k.gpx"
"$BENCH/tarvola_gpx_generator" "$FILE1M" 1000000
"$BENCH/tarvola_gpx_generator" "$FILE100K" 100000

run() {
  if [ -x "$1" ]; then
    "$@"
    echo
  else
    echo "($(basename "$1") not built, skipped)"
  fi
}
run "$BENCH/tarvola_bench_load" "$FILE1M"
run "$BENCH/tarvola_bench_convert" "$BUILD/src/cli/tarvola-convert" "$FILE1M"
run "$BENCH/tarvola_bench_convert" "$BUILD/src/cli/tarvola-convert" "$FILE100K"
# The window runs offscreen; its platform plugin's notices say nothing about the figures.
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$WORK/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
run "$BENCH/tarvola_bench_window" "$FILE1M" "$FILE100K" 2> >(grep -v 'does not support raise' >&2)
