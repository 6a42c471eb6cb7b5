#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package as Debian's own tools would build it: a build tree of
# its own, configured with the flags of dpkg-buildflags (hardening, fortify, bind
# now, relro, file paths mapped into the tree), the binary in games/, installed
# stripped by cpack. The .deb lands in the output folder, replacing older ones.
#   install/build-package.sh <package build tree> <output folder> [jobs]
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
tree=$(realpath -m "$1")
output=$(realpath -m "$2")
jobs=${3:-2}

cd "$source_dir"  # dpkg-buildflags maps the current folder's path out of the binary
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
eval "$(dpkg-buildflags --export=sh)"
# CMake reads no CPPFLAGS: the fortify define goes with the compiler flags, as
# debhelper passes it.
export CXXFLAGS="$CXXFLAGS $CPPFLAGS"

cmake -S "$source_dir" -B "$tree" -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_BINDIR=games \
    -DBUILD_TESTING=OFF -DVELLUMARK_BENCH=OFF >/dev/null
cmake --build "$tree" -j "$jobs"
mkdir -p "$output"
rm -f "$output"/vellumark_*.deb
cpack --config "$tree/CPackConfig.cmake" -B "$output"
rm -rf "$output/_CPack_Packages"
