#!/usr/bin/env bash
# Builds Qt for Windows (static, MinGW-w64) from Debian's qt6-base source package into
# TARVOLA_WINDOWS_DEPS (default /opt/tarvola/mingw64), for the window's Windows build.
# It takes about 50 minutes on two cores, so it is stamped and done once per machine; an
# interrupted build resumes from its build folder (TARVOLA_QT_WORK, default /var/tmp).
set -euo pipefail

prefix="${TARVOLA_WINDOWS_DEPS:-/opt/tarvola/mingw64}"
work="${TARVOLA_QT_WORK:-/var/tmp/tarvola-windows-qt}"
jobs="$(nproc 2>/dev/null || echo 2)"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

# install-windows-deps.sh, run first, installs the compilers and the host's Qt tools (moc, rcc,
# uic), which must be the version the sources are.
version="$(dpkg-query -W -f='${Version}' qt6-base-dev-tools 2>/dev/null)" \
  || { echo "The host's Qt tools are missing: run scripts/install-windows-deps.sh first" >&2; exit 1; }

# Raise the recipe number with any change to the configure options or the patch below: the
# stamp then no longer matches and Qt is built again.
recipe=1
stamp_text="recipe $recipe
qt6-base $version
$(x86_64-w64-mingw32-g++-posix --version | head -1)"
stamp="$prefix/share/tarvola-windows-qt.stamp"
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$stamp_text" ]; then
  exit 0
fi

say() { echo "[windows Qt $(date +%H:%M:%S)] $*"; }
mkdir -p "$work"
chmod 755 "$work"
source_dir="$work/qt6-base-${version%-*}"
if [ ! -f "$work/source.done" ] || [ "$(cat "$work/source.done")" != "$stamp_text" ]; then
  rm -rf "$work"/*
  say "Fetching Debian's source of qt6-base $version"
  # install-windows-deps.sh has already made sure a deb-src entry exists.
  (cd "$work" && apt-get source -qq "qt6-base=$version" >"$work/source.log" 2>&1) \
    || { cat "$work/source.log" >&2; echo "Could not fetch the Debian source of qt6-base $version" >&2; exit 1; }
  # Without Direct2D the Gui module leaves the DirectWrite font database out, but the platform
  # plugin still refers to it: let the plugin use the GDI font database then.
  sed -i 's/^#if QT_CONFIG(directwrite3)$/#if QT_CONFIG(directwrite3) \&\& QT_CONFIG(direct2d)/' \
    "$source_dir/src/plugins/platforms/windows/qwindowsintegration.cpp"
  [ "$(grep -c 'QT_CONFIG(directwrite3) && QT_CONFIG(direct2d)' \
      "$source_dir/src/plugins/platforms/windows/qwindowsintegration.cpp")" -eq 2 ] \
    || { echo "The DirectWrite fix no longer applies to qt6-base $version" >&2; exit 1; }
  printf '%s\n' "$stamp_text" >"$work/source.done"
fi

toolchain="$work/toolchain.cmake"
cat >"$toolchain" <<'EOF'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOF

build="$work/build"
log="$work/build.log"
mkdir -p "$build"
if [ ! -f "$build/build.ninja" ]; then
  say "Configuring (about 2 minutes)"
  # Debian's +dfsg source lacks wintab (tablet support) and the Android tools' cross guard; TLS
  # goes through Schannel; the third-party libraries are Qt's own, so no Linux library is taken.
  (cd "$build" && "$source_dir/configure" -prefix "$prefix" -release -static -static-runtime \
      -qt-host-path /usr -no-pkg-config -nomake examples -nomake tests \
      -no-feature-tabletevent -no-direct2d -no-feature-androiddeployqt -no-openssl -schannel \
      -no-dbus -no-opengl -no-vulkan -no-icu -no-glib \
      -qt-zlib -qt-libpng -qt-libjpeg -qt-harfbuzz -qt-pcre -qt-freetype -qt-doubleconversion \
      -no-feature-sql -no-feature-printsupport -no-feature-concurrent -no-feature-xml \
      -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
      -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake) >"$log" 2>&1 \
    || { tail -60 "$log" >&2; rm -f "$build/build.ninja"; echo "Configuring Qt for Windows failed: $log" >&2; exit 1; }
fi

say "Building (about 1,100 steps; progress every 50)"
if ! cmake --build "$build" -j "$jobs" 2>&1 | tee -a "$log" \
  | awk '/^\[[0-9]+\/[0-9]+\]/ { gsub(/\[|\]/, "", $1); split($1, n, "/"); if (n[1] % 50 == 0 || n[1] == n[2]) { print "  step " n[1] " of " n[2]; fflush() } }'; then
  grep -A20 'FAILED' "$log" | head -60 >&2
  echo "Building Qt for Windows failed: $log" >&2
  exit 1
fi

say "Installing into $prefix"
$sudo cmake --install "$build" >>"$log" 2>&1 || { tail -30 "$log" >&2; echo "Installing Qt for Windows failed" >&2; exit 1; }
$sudo mkdir -p "$prefix/share"
printf '%s\n' "$stamp_text" | $sudo tee "$stamp" >/dev/null
say "Done; removing the build folder"
rm -rf "$work"
