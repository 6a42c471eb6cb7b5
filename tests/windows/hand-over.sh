#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# windows/build-qt.sh and windows/build-gtest.sh hand their folder to build.sh on
# standard output, so nothing else may reach it: not on a machine that lacks every
# package (apt-get and dpkg talk), not on a second run from the cache. The tools
# are stubs that print on standard output and build nothing.
set -euo pipefail
scripts=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

mkdir "$work/bin" "$work/wine"
touch "$work/wine/wintab.h" "$work/wine/pktdef.h"
stub() { printf '#!/bin/sh\n%s\n' "$2" >"$work/bin/$1"; chmod +x "$work/bin/$1"; }
stub dpkg 'echo "dpkg-query: package is not installed"; exit 1'
stub dpkg-query 'echo 1.12.1-0.2'
stub apt-cache 'echo "Package: $2"; echo "Version: 6.4.2+dfsg-1"'
stub apt-get 'echo "Reading package lists..."; [ "$1" != source ] || mkdir "${3%%=*}-6.4.2"'
stub patch 'cat >/dev/null; echo "patching file x"'
stub sudo 'exec "$@"'
stub cmake 'echo "-- Configuring done"
while [ $# -gt 0 ]; do case $1 in -B) mkdir -p "$2"; touch "$2/cmake_install.cmake";; -DCMAKE_INSTALL_PREFIX=*) mkdir -p "${1#*=}";; esac; shift; done'
export PATH="$work/bin:$PATH" VELLUMARK_CACHE="$work/cache" WINE_HEADERS="$work/wine"

for script in build-gtest.sh build-qt.sh; do  # each from a cache the other has not made
  for run in "an empty cache" "the cache"; do
    out=$(bash "$scripts/$script" 2>"$work/stderr") || { cat "$work/stderr"; fail "$script failed from $run"; }
    [[ "$out" != *$'\n'* && -d "$out" ]] || fail "$script printed more than its folder from $run: $out"
  done
done
echo "build-qt.sh and build-gtest.sh print their folder alone"
