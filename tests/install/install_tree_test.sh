#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the tree the way a desktop, a shell and
# a user of the converter meet it.
#   install_tree_test.sh BUILD_DIR SOURCE_DIR APP_ID GUI(0|1)
set -euo pipefail
build=$1 source=$2 app_id=$3 gui=$4
if [ -n "${TARVOLA_MISSING_TOOLS:-}" ]; then
  echo "SKIPPED: not found on this machine: $TARVOLA_MISSING_TOOLS"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

converter_files=(bin/tarvola-convert share/man/man1/tarvola-convert.1.gz
                 share/bash-completion/completions/tarvola-convert)
expected=("${converter_files[@]}")
if [ "$gui" = 1 ]; then
  expected+=(bin/tarvola share/man/man1/tarvola.1.gz
             "share/applications/$app_id.desktop" "share/applications/${app_id}Convert.desktop"
             "share/metainfo/$app_id.metainfo.xml" "share/icons/hicolor/scalable/apps/$app_id.svg")
  for size in 16 22 24 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/$app_id.png")
  done
fi

# Exactly the expected files: nothing missing, nothing stray.
files_under() { (cd "$1" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort); }
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
diff <(printf '%s\n' "${expected[@]}" | LC_ALL=C sort) <(files_under "$prefix") ||
  fail "the installed files differ from the expected ones (< expected, > installed)"
# What a build without the window installs: the converter's component alone.
cmake --install "$build" --prefix "$work/converter" --component converter >/dev/null
diff <(printf '%s\n' "${converter_files[@]}" | LC_ALL=C sort) <(files_under "$work/converter") ||
  fail "the converter's component holds other files"

if [ "$gui" = 1 ]; then
  for entry in "$prefix"/share/applications/*.desktop; do
    desktop-file-validate "$entry" || fail "$entry is not a valid desktop entry"
    exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
    [ -x "$prefix/bin/$exec_program" ] || fail "$entry starts $exec_program, which is not installed"
  done
  # With no default chosen, a desktop opens a GPX file with the first entry the cache lists.
  update-desktop-database "$prefix/share/applications"
  first=$(sed -n 's|^application/gpx+xml=\([^;]*\);.*|\1|p' "$prefix/share/applications/mimeinfo.cache")
  [ "$first" = "$app_id.desktop" ] || fail "a double click on a GPX file would start $first"
  rm "$prefix/share/applications/mimeinfo.cache"
  appstreamcli validate --no-net "$prefix/share/metainfo/$app_id.metainfo.xml" >/dev/null ||
    fail "the metainfo file does not validate"
  for png in "$prefix"/share/icons/hicolor/*x*/apps/*.png; do
    size=$(basename "$(dirname "$(dirname "$png")")")
    drawn=$(python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); print("%dx%d" % struct.unpack(">II", d[16:24]))' "$png")
    [ "$drawn" = "$size" ] || fail "$png is $drawn, not $size"
  done
fi

for page in "$prefix"/share/man/man1/*.1.gz; do
  warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$page: $warnings"
  zcat "$page" | grep -q '^\.SH EXAMPLES' || fail "$page has no examples"
done

# The window program prints its help and version like any Qt program, without a display.
if [ "$gui" = 1 ]; then
  help=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$prefix/bin/tarvola" --help) ||
    fail "tarvola --help failed"
  [[ $help == *--convert-to-kmz* ]] || fail "tarvola --help says: $help"
  version=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$prefix/bin/tarvola" --version)
  [[ $version == "Tarvola "* ]] || fail "tarvola --version says: $version"
fi

# The installed converter, as a user runs it.
convert=$prefix/bin/tarvola-convert
version=$("$convert" --version | head -n 1)
[[ $version == "tarvola-convert (Tarvola) "* ]] || fail "--version says: $version"
"$convert" -q -o "$work/hike.kmz" "$source/examples/alpine-hike.gpx" || fail "the installed converter failed"
unzip -tq "$work/hike.kmz" >/dev/null || fail "the installed converter wrote a broken KMZ"
unzip -p "$work/hike.kmz" doc.kml | grep -q '<Placemark>' || fail "the KMZ holds no placemark"

# The completion offers the installed converter's own options.
offered=$(PATH="$prefix/bin:$PATH" bash -c '
  source "$1"
  COMP_WORDS=(tarvola-convert --no-c); COMP_CWORD=1; _tarvola_convert; echo "${COMPREPLY[*]}"
  COMP_WORDS=(tarvola-convert --format ""); COMP_CWORD=2; _tarvola_convert; echo "${COMPREPLY[*]}"
' _ "$prefix/share/bash-completion/completions/tarvola-convert")
[ "$offered" = $'--no-clobber\nkml kmz' ] || fail "the completion offered: $offered"
