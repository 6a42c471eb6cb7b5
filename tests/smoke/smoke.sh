#!/usr/bin/env bash
# Starts the real program under Xvfb from another directory, checks that the menu
# appears with its caption and client size, clicks おわり and expects the program to
# end by itself with status 0 about a second later.
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

# -displayfd picks a free display, so parallel runs never collide.
exec {display_fd}<> <(:)
Xvfb -displayfd "$display_fd" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
read -r -t 10 -u "$display_fd" display_number
export DISPLAY=":$display_number"
unset QT_QPA_PLATFORM

cd "$work"  # the program must find its data beside itself, not here
"$program" >"$work/program.log" 2>&1 &
program_pid=$!

window=$(timeout 10 xdotool search --sync --onlyvisible --name '^メニュー$' | head -n 1)
[ -n "$window" ] || { echo "FAIL: no window titled メニュー"; cat "$work/program.log"; exit 1; }

size=$(xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
[ "$size" = "629x361" ] || { echo "FAIL: menu client area is $size, not 629x361"; exit 1; }

# おわり: Command1(4) at 436, 275, 152 x 52 in the client area.
start=$(date +%s%N)
xdotool mousemove --window "$window" 512 301 click 1

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
[ -n "$status" ] || { echo "FAIL: the program did not end after おわり"; exit 1; }
[ "$status" = 0 ] || { echo "FAIL: the program ended with status $status"; cat "$work/program.log"; exit 1; }
elapsed_ms=$(( ($(date +%s%N) - start) / 1000000 ))
if [ "$elapsed_ms" -lt 400 ] || [ "$elapsed_ms" -gt 3000 ]; then
    echo "FAIL: the program ended ${elapsed_ms} ms after the click, not about a second"
    exit 1
fi
echo "smoke: menu $size, ended with status 0 ${elapsed_ms} ms after おわり"
