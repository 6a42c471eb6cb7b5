#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Two package builds of one commit give the same bytes: the program is linked again
# (a new file with a new time) and the package made again from the tree; every time
# stamp in it comes from the commit, so nothing may differ.
set -euo pipefail
tree=$(realpath "$1")
out=$(realpath "$2")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
packages=("$out"/vellumark_*.deb)
[ "${#packages[@]}" = 1 ] && [ -f "${packages[0]}" ] || { echo "FAIL: expected one vellumark_*.deb in $out"; exit 1; }
first=${packages[0]}

rm -f "$tree/vellumark" "$tree"/generated/*.gz
cmake --build "$tree" -j 2 >"$work/build.log" || { cat "$work/build.log"; exit 1; }
cpack --config "$tree/CPackConfig.cmake" -B "$work/second" >"$work/cpack.log" 2>&1 \
    || { echo "FAIL: cpack did not build the package"; cat "$work/cpack.log"; exit 1; }
second="$work/second/$(basename "$first")"
[ -f "$second" ] || { echo "FAIL: the second build made no $(basename "$first")"; ls "$work/second"; exit 1; }

if ! cmp "$first" "$second"; then
    echo "FAIL: two builds of one commit differ"
    if command -v diffoscope >/dev/null; then
        diffoscope "$first" "$second" || true
    else
        diff <(dpkg-deb -c "$first") <(dpkg-deb -c "$second") || true
        diff <(dpkg-deb -I "$first") <(dpkg-deb -I "$second") || true
    fi
    exit 1
fi
echo "reproducible: $(basename "$first"), $(stat -c %s "$first") bytes, twice"
