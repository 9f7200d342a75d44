#!/usr/bin/env bash
# Runs the Windows build's tests under Wine: `scripts/wine-test.sh [BUILD_DIR] [ctest arguments]`.
# The Wine prefix is the build's own (BUILD_DIR/wine-prefix), made on the first run, and one
# wineserver stays up for the whole run, so no test waits for Wine to start or stop. Wine makes
# no window, not even Qt's hidden ones, without an X display: the run has an Xvfb of its own.
set -euo pipefail
build="$(realpath "${1:-build-windows}")"
shift || true

export WINEPREFIX="$build/wine-prefix"
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono or Gecko: nothing here needs them, and Wine would offer to download them.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset WAYLAND_DISPLAY
xvfb_pid=""
stop_xvfb() { if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi; }
if command -v Xvfb >/dev/null; then
  display_file="$build/xvfb-display"
  : >"$display_file"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
  xvfb_pid=$!
  trap stop_xvfb EXIT
  for _ in $(seq 300); do [ -s "$display_file" ] && break; sleep 0.1; done
  [ -s "$display_file" ] || { echo "Xvfb did not start" >&2; exit 1; }
  export DISPLAY=":$(head -1 "$display_file")"
else
  unset DISPLAY
fi

log="$build/wine-start.log"
make_prefix() { wineboot --init >"$log" 2>&1 && wineserver -w; }
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Making the Wine prefix $WINEPREFIX"
  # Wine has once left a prefix behind that could not load kernel32: start again from nothing
  # before giving up.
  if ! make_prefix; then
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
    make_prefix || { cat "$log" >&2; echo "Could not make the Wine prefix $WINEPREFIX" >&2; exit 1; }
  fi
fi
# A crashing program must end its test, not wait on Wine's crash dialog.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
# One left running from an earlier run is as good.
wineserver -p </dev/null >/dev/null 2>&1 || true
trap 'wineserver -k >/dev/null 2>&1 || true; stop_xvfb' EXIT
wine cmd /c exit >"$log" 2>&1 || { cat "$log" >&2; echo "Wine does not start programs" >&2; exit 1; }

cd "$build"
ctest --output-on-failure -j "$(nproc 2>/dev/null || echo 2)" "$@"
