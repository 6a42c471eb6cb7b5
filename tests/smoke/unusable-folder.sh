#!/usr/bin/env bash
# Starts a copy of the real program from a folder whose name has a byte that is not
# valid UTF-8, so the program cannot name its own folder. It must not start: one
# error box centred on the screen, no menu, status 1 once the box is closed, and no
# /data touched at the root of the file system.
set -euo pipefail
program=$(realpath "$1")

work=$(mktemp -d)
xvfb_pid=""
program_pid=""
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

folder="$work/game"$'\xff'
mkdir "$folder"
cp "$program" "$folder/"
cp -r "$(dirname "$program")/data" "$folder/"
root_data_before=$(ls -la --full-time /data 2>&1 || true)

exec {display_fd}<> <(:)
Xvfb -displayfd "$display_fd" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
read -r -t 10 -u "$display_fd" display_number
export DISPLAY=":$display_number"
unset QT_QPA_PLATFORM

cd "$work"
"$folder/$(basename "$program")" >"$work/program.log" 2>&1 &
program_pid=$!

box=$(timeout 10 xdotool search --sync --onlyvisible --name '^エラー$' | head -n 1)
[ -n "$box" ] || { echo "FAIL: no error box"; cat "$work/program.log"; exit 1; }
if xdotool search --onlyvisible --name '^メニュー$' >/dev/null 2>&1; then
    echo "FAIL: the menu opened from a folder the program cannot name"
    exit 1
fi
read -r left top width height < <(xwininfo -id "$box" |
    awk '/Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4} /Width:/ {w=$2} /Height:/ {h=$2}
         END {print x, y, w, h}')
# Qt leaves room for a frame of up to 10 x 40 pixels, which Xvfb without a window
# manager does not draw: the box stands up to that much left of and above the centre.
centre_x=$((left + width / 2)) centre_y=$((top + height / 2))
if [ $((512 - centre_x)) -lt 0 ] || [ $((512 - centre_x)) -gt 12 ] ||
   [ $((384 - centre_y)) -lt 0 ] || [ $((384 - centre_y)) -gt 42 ]; then
    echo "FAIL: the error box is centred at $centre_x,$centre_y, not on the screen's centre 512,384"
    exit 1
fi

xdotool windowfocus --sync "$box" key Return
status=""
for _ in $(seq 1 100); do
    if ! kill -0 "$program_pid" 2>/dev/null; then
        set +e
        wait "$program_pid"
        status=$?
        set -e
        program_pid=""
        break
    fi
    sleep 0.1
done
[ -n "$status" ] || { echo "FAIL: the program did not end when its error box was closed"; exit 1; }
[ "$status" = 1 ] || { echo "FAIL: the program ended with status $status, not 1"; cat "$work/program.log"; exit 1; }
[ "$(ls -la --full-time /data 2>&1 || true)" = "$root_data_before" ] ||
    { echo "FAIL: /data at the root changed"; exit 1; }
echo "unusable folder: error box centred at $centre_x,$centre_y, status 1, /data untouched"
