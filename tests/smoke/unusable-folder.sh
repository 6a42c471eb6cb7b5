#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Starts a copy of the real program from a folder whose name has a byte that is not
# valid UTF-8, so the program cannot name its own folder. It must not start: one
# error box centred on the screen, no menu, status 1 once the box is closed, and no
# /data touched at the root of the file system.
set -euo pipefail
program=$(realpath "$1")

export LC_ALL=C.UTF-8  # xdotool matches the Japanese captions only in a UTF-8 locale
work=$(mktemp -d)
source "$(dirname "$0")/../support/xvfb.sh"

folder="$work/game"$'\xff'
mkdir "$folder"
cp "$program" "$folder/"
cp -r "$(dirname "$program")/data" "$folder/"
root_data_before=$(ls -la --full-time /data 2>&1 || true)

cd "$work"
"$folder/$(basename "$program")" >"$work/program.log" 2>&1 &
program_pid=$!

box=$(wait_for_window エラー)
if xdotool search --onlyvisible --name '^メニュー$' >/dev/null 2>&1; then
    fail "the menu opened from a folder the program cannot name"
fi
read -r left top width height < <(xwininfo -id "$box" |
    awk '/Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4} /Width:/ {w=$2} /Height:/ {h=$2}
         END {print x, y, w, h}')
# Qt leaves room for a frame of up to 10 x 40 pixels, which Xvfb without a window
# manager does not draw: the box stands up to that much left of and above the centre.
centre_x=$((left + width / 2)) centre_y=$((top + height / 2))
if [ $((512 - centre_x)) -lt 0 ] || [ $((512 - centre_x)) -gt 12 ] ||
   [ $((384 - centre_y)) -lt 0 ] || [ $((384 - centre_y)) -gt 42 ]; then
    fail "the error box is centred at $centre_x,$centre_y, not on the screen's centre 512,384"
fi

xdotool windowfocus --sync "$box" key Return
wait_for_end
[ "$exit_status" = 1 ] || fail "the program ended with status $exit_status, not 1"
[ "$(ls -la --full-time /data 2>&1 || true)" = "$root_data_before" ] || fail "/data at the root changed"
echo "unusable folder: error box centred at $centre_x,$centre_y, status 1, /data untouched"
