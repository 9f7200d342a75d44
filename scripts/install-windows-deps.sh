#!/usr/bin/env bash
# Installs what the Windows cross build, its tests and its installer need, from Debian packages
# only: MinGW-w64 (POSIX threads), the host's Qt tools (which the Windows Qt build and the
# window's build run), Wine, NSIS, zlib's MinGW package, and expat and GoogleTest compiled for
# Windows from the sources Debian ships, into TARVOLA_WINDOWS_DEPS
# (default /opt/tarvola/mingw64, where cmake/mingw-w64-x86_64.cmake looks).
# Idempotent: quiet when everything is present and was built by this version of the script.
# Qt for Windows, which takes far longer, has a script and a stamp of its own (install-windows-qt.sh).
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
toolchain="$here/cmake/mingw-w64-x86_64.cmake"
prefix="${TARVOLA_WINDOWS_DEPS:-/opt/tarvola/mingw64}"
jobs="$(nproc 2>/dev/null || echo 2)"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

packages=(
  cmake ninja-build dpkg-dev
  gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix libz-mingw-w64-dev
  wine wine64 googletest nsis xvfb xauth x11-apps x11-utils
  qt6-base-dev qt6-base-dev-tools
)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
updated=0
if [ ${#missing[@]} -ne 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  updated=1
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The stamp names what the libraries were built from; any change rebuilds them.
stamp_text="$(sha256sum "$0" "$toolchain" | cut -d' ' -f1 | tr '\n' ' ')
googletest $(dpkg-query -W -f='${Version}' googletest)
$(x86_64-w64-mingw32-g++-posix --version | head -1)"
stamp="$prefix/share/tarvola-windows-deps.stamp"
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$stamp_text" ]; then
  exit 0
fi

# apt-get source needs a deb-src entry. When none is configured, add one for the Debian mirror
# that is already configured for binary packages, in a file of its own.
has_deb_src() {
  grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/
}
if ! has_deb_src; then
  src_list=/etc/apt/sources.list.d/tarvola-deb-src.sources
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | $sudo tee "$src_list" >/dev/null
  elif [ -f /etc/apt/sources.list ]; then
    grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' \
      | $sudo tee /etc/apt/sources.list.d/tarvola-deb-src.list >/dev/null
    src_list=/etc/apt/sources.list.d/tarvola-deb-src.list
  else
    echo "No Debian mirror found in /etc/apt to take the sources from" >&2
    exit 1
  fi
  echo "Added $src_list: the source packages of the Debian mirror already configured"
  updated=0
fi
if [ "$updated" -eq 0 ]; then $sudo apt-get update -qq; fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cross=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release
       -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF)

build_and_install() {  # NAME SOURCE_DIR CMAKE_ARGS...
  local name="$1" source="$2"
  shift 2
  echo "Building $name for Windows"
  cmake -S "$source" -B "$work/build-$name" "${cross[@]}" "$@" >"$work/$name.log" 2>&1 \
    && cmake --build "$work/build-$name" -j "$jobs" >>"$work/$name.log" 2>&1 \
    && $sudo cmake --install "$work/build-$name" >>"$work/$name.log" 2>&1 \
    || { cat "$work/$name.log" >&2; echo "Building $name for Windows failed" >&2; exit 1; }
}

chmod 755 "$work"
# The newest source version first; a mirror without the security archive's sources still has
# the point release's.
fetch_source() {
  local version
  for version in $(apt-cache showsrc "$1" | awk '/^Version:/ {print $2}' | sort -Vr); do
    (cd "$work" && apt-get source -qq "$1=$version" >/dev/null 2>>"$work/source.log") && return 0
  done
  cat "$work/source.log" >&2
  echo "Could not fetch the Debian source of $1" >&2
  exit 1
}
fetch_source expat
source_dir() { find "$work" -maxdepth 1 -type d -name "$1-*" | head -1; }

build_and_install googletest /usr/src/googletest -DCMAKE_CXX_FLAGS=-w
# Debian's expat source keeps the library in a subfolder, as upstream's repository does.
expat_source="$(source_dir expat)"
[ -f "$expat_source/expat/CMakeLists.txt" ] && expat_source="$expat_source/expat"
# Debian's security patches test XML_DTD == 1, as its autotools build defines it; the CMake
# template defines it empty.
sed -i 's/^#cmakedefine XML_DTD$/#cmakedefine XML_DTD 1/' "$expat_source/expat_config.h.cmake"
build_and_install expat "$expat_source" -DEXPAT_SHARED_LIBS=OFF -DEXPAT_BUILD_TOOLS=OFF \
  -DEXPAT_BUILD_EXAMPLES=OFF -DEXPAT_BUILD_TESTS=OFF -DEXPAT_BUILD_DOCS=OFF -DEXPAT_BUILD_PKGCONFIG=OFF

$sudo mkdir -p "$prefix/share"
printf '%s\n' "$stamp_text" | $sudo tee "$stamp" >/dev/null
