#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Cross-builds GoogleTest for 64-bit Windows from Debian's own sources
# (/usr/src/googletest, package libgtest-dev), static, into the cache beside the
# cross-built Qt (windows/build-qt.sh); prints the prefix. Takes about a minute once.
set -euo pipefail
# Only the prefix goes to standard output, which windows/build.sh captures.
exec 3>&1 1>&2
here="$(cd "$(dirname "$0")" && pwd)"
cache="${VELLUMARK_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/vellumark}"
jobs="${JOBS:-$(nproc 2>/dev/null || echo 2)}"
version="$(dpkg-query -W -f='${Version}' libgtest-dev)"
key="$( (echo "googletest $version"; cat "$here/mingw-w64.cmake") | sha256sum | cut -c1-12)"
prefix="$cache/gtest-win64-$key"
if [ ! -f "$prefix/.complete" ]; then
  build="$cache/build/gtest-$key"
  rm -rf "$build" "$prefix"
  mkdir -p "$cache/build"
  echo "build-gtest: building GoogleTest $version -> $prefix" >&2
  cmake -S /usr/src/googletest -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_GMOCK=OFF \
    -Dgtest_disable_pthreads=OFF >"$build.log" 2>&1 || { tail -30 "$build.log" >&2; exit 1; }
  cmake --build "$build" -j "$jobs" >>"$build.log" 2>&1 || { tail -30 "$build.log" >&2; exit 1; }
  cmake --install "$build" >/dev/null
  touch "$prefix/.complete"
fi
echo "$prefix" >&3
