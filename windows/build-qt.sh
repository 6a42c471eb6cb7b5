#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds Qt for 64-bit Windows from Debian's own source packages (qt6-base and
# qt6-multimedia), with Debian's MinGW-w64 posix compilers: shared, release, only
# what Vellumark needs. The result is cached outside the tree, keyed by the source
# package versions and the hash of this script, the toolchain file and the patches
# in windows/qt-patches/, so it is built once per machine.
#
#   windows/build-qt.sh            build if missing, then print the Qt prefix
#
# The prefix is the only thing on standard output (windows/build.sh captures it);
# everything the script and the tools it runs print goes to standard error.
#
# VELLUMARK_CACHE (default ${XDG_CACHE_HOME:-$HOME/.cache}/vellumark) holds the
# sources, the build folders and the installed Qt. JOBS (default: nproc).
# WINE_HEADERS (default: libwine-dev's) holds wintab.h and pktdef.h.
set -euo pipefail
exec 3>&1 1>&2
here="$(cd "$(dirname "$0")" && pwd)"
cache="${VELLUMARK_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/vellumark}"
jobs="${JOBS:-$(nproc 2>/dev/null || echo 2)}"
sudo=""; [ "$(id -u)" = 0 ] || sudo=sudo
log() { echo "build-qt: $*" >&2; }
wine_headers="${WINE_HEADERS:-/usr/include/wine/wine/windows}"

# The Debian packages the cross-build needs: the compilers, the host tools of
# Debian's own Qt, and dpkg-dev for apt-get source. libwine-dev has wintab.h.
packages=(cmake ninja-build perl dpkg-dev
  gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  mingw-w64-x86-64-dev libwine-dev qt6-base-dev qt6-base-dev-tools)
missing=()
for p in "${packages[@]}"; do dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p"); done
apt_get() { DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 "$@"; }
if [ ${#missing[@]} -gt 0 ]; then
  log "installing ${missing[*]}"
  apt_get update -qq
  apt_get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Source packages come from the same archive as the binary ones: add deb-src to the
# deb822 entries (or deb-src lines to sources.list) once.
if ! apt-cache showsrc qt6-base 2>/dev/null | grep -q '^Version:'; then
  log "adding deb-src entries"
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    grep -q '^Types:.*deb-src' "$f" || $sudo sed -i 's/^Types: *deb *$/Types: deb deb-src/' "$f"
  done
  if [ -f /etc/apt/sources.list ] && grep -q '^deb ' /etc/apt/sources.list \
     && ! grep -q '^deb-src ' /etc/apt/sources.list; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list | $sudo tee -a /etc/apt/sources.list >/dev/null
  fi
  apt_get update -qq
fi

srcversion() { apt-cache showsrc "$1" | sed -n 's/^Version: //p' | sort -V | tail -1; }
base_version="$(srcversion qt6-base)"
mm_version="$(srcversion qt6-multimedia)"
[ -n "$base_version" ] && [ -n "$mm_version" ] || { log "no source packages found"; exit 1; }

shopt -s nullglob
base_patches=("$here"/qt-patches/qtbase-*.patch)
mm_patches=("$here"/qt-patches/qtmultimedia-*.patch)
base_key="$( (echo "qt6-base $base_version"; cat "$here/mingw-w64.cmake" "$here/qtbase.options" \
  "${base_patches[@]}") | sha256sum | cut -c1-12)"
key="$( (echo "$base_key qt6-multimedia $mm_version"; cat "$here/qtmultimedia.options" \
  "${mm_patches[@]}") | sha256sum | cut -c1-12)"
options() { sed -e 's/#.*//' -e 's/[[:space:]]*$//' -e '/^$/d' "$here/$1.options"; }
mapfile -t base_options < <(options qtbase)
mapfile -t mm_options < <(options qtmultimedia)
prefix="$cache/qt-win64-$key"
# The notices shipped with the program name the exact sources of the Qt they hold.
sources="qt6-base $base_version
qt6-multimedia $mm_version"
if [ -f "$prefix/.complete" ]; then
  [ -f "$prefix/debian-sources.txt" ] || echo "$sources" >"$prefix/debian-sources.txt"
  echo "$prefix" >&3
  exit 0
fi

# Sources, unpacked by apt-get source (Debian's own patches applied), then ours.
fetch() {  # fetch <source package> <version> -> prints the unpacked folder
  local dir="$cache/src/$1-$2"
  if [ ! -f "$dir/.unpacked" ]; then
    rm -rf "$dir"; mkdir -p "$dir"
    (cd "$dir" && apt-get source -qq "$1=$2" >&2)
    touch "$dir/.unpacked"
  fi
  find "$dir" -mindepth 1 -maxdepth 1 -type d | head -1
}
patched() {  # patched <unpacked folder> <patch prefix> <key> -> a patched copy
  local out="$cache/src/$2-$3"
  if [ ! -f "$out/.patched" ]; then
    rm -rf "$out"; cp -a "$1" "$out"
    local p
    for p in "$here"/qt-patches/"$2"-*.patch; do
      log "applying $(basename "$p")"
      patch -d "$out" -p1 --forward --quiet < "$p" >&2
    done
    touch "$out/.patched"
  fi
  echo "$out"
}

export PKG_CONFIG_LIBDIR=/nonexistent PKG_CONFIG_PATH=
host=(-DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake)
common=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release
  -DBUILD_SHARED_LIBS=ON -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
  -DQT_BUILD_BENCHMARKS=OFF -DQT_BUILD_TOOLS_WHEN_CROSSCOMPILING=OFF)

# qtbase: Core, Gui, Widgets, Network (Multimedia needs it), Test; the Windows
# platform plugin, the offscreen one (for the widget tests) and the Windows styles.
base_prefix="$cache/qtbase-win64-$base_key"
if [ ! -f "$base_prefix/.complete" ]; then
  base_src="$(patched "$(fetch qt6-base "$base_version")" qtbase "$base_key")"
  # Debian's +dfsg tarball leaves out src/3rdparty/wintab; Wine's header is
  # compatible once given the Wine macros it uses (A/W names, as UNICODE says) and
  # Wacom's API; pktdef.h comes with it.
  mkdir -p "$base_src/src/3rdparty/wintab"
  { printf '%s\n' '#ifndef WINELIB_NAME_AW' '# ifdef UNICODE' '#  define WINELIB_NAME_AW(x) x##W' \
      '# else' '#  define WINELIB_NAME_AW(x) x##A' '# endif' '#endif' '#ifndef DECL_WINELIB_TYPE_AW' \
      '# define DECL_WINELIB_TYPE_AW(type) typedef WINELIB_NAME_AW(type) type;' '#endif' \
      '#ifndef API' '# define API WINAPI' '#endif'
    cat "$wine_headers/wintab.h"
  } >"$base_src/src/3rdparty/wintab/wintab.h"
  cp "$wine_headers/pktdef.h" "$base_src/src/3rdparty/wintab/"
  build="$cache/build/qtbase-$base_key"
  mkdir -p "$cache/build"
  log "configuring qtbase $base_version -> $base_prefix"
  cmake -S "$base_src" -B "$build" "${common[@]}" "${host[@]}" \
    -DCMAKE_INSTALL_PREFIX="$base_prefix" \
    "${base_options[@]}" >"$build.configure.log" 2>&1 \
    || { tail -50 "$build.configure.log" >&2; exit 1; }
  # Only what the program and its tests load: not the Direct2D, minimal and TUIO
  # plugins, the TLS backends or the ICO reader (a fifth of the build).
  log "building qtbase (about 20 minutes on 2 cores)"
  cmake --build "$build" -j "$jobs" --target Core Gui Widgets Network Test Xml \
    EntryPointImplementation FbSupportPrivate DeviceDiscoverySupportPrivate \
    QWindowsIntegrationPlugin QOffscreenIntegrationPlugin QWindowsVistaStylePlugin \
    >"$build.build.log" 2>&1 || { tail -50 "$build.build.log" >&2; exit 1; }
  # Installed folder by folder, leaving out those of the plugins not built.
  (cd "$build" && find . -name cmake_install.cmake | sort \
    | grep -vE '/plugins/(platforms/(direct2d|minimal)|generic/tuiotouch|imageformats/ico|tls/[a-z]+)/') \
    | while read -r script; do
        cmake -DCMAKE_INSTALL_LOCAL_ONLY=ON -P "$build/$script" >/dev/null
      done
  touch "$base_prefix/.complete"
fi

# qtmultimedia: the Media Foundation backend, audio only.
rm -rf "$prefix.tmp"
cp -a "$base_prefix" "$prefix.tmp"
rm -f "$prefix.tmp/.complete"
mm_src="$(patched "$(fetch qt6-multimedia "$mm_version")" qtmultimedia "$key")"
build="$cache/build/qtmultimedia-$key"
log "configuring qtmultimedia $mm_version"
rm -rf "$build"
cmake -S "$mm_src" -B "$build" "${common[@]}" "${host[@]}" \
  -DCMAKE_PREFIX_PATH="$prefix.tmp" -DCMAKE_INSTALL_PREFIX="$prefix.tmp" \
  "${mm_options[@]}" \
  >"$build.configure.log" 2>&1 || { tail -50 "$build.configure.log" >&2; exit 1; }
log "building qtmultimedia"
cmake --build "$build" -j "$jobs" >"$build.build.log" 2>&1 \
  || { tail -50 "$build.build.log" >&2; exit 1; }
cmake --install "$build" >/dev/null
rm -rf "$prefix"
echo "$sources" >"$prefix.tmp/debian-sources.txt"
mv "$prefix.tmp" "$prefix"
touch "$prefix/.complete"
echo "$prefix" >&3
