#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Starts the real program under Xvfb from another directory, checks that the menu
# appears with its caption and client size, clicks おわり and expects the program to
# end by itself with status 0 about a second later.
set -euo pipefail
export LC_ALL=C.UTF-8  # xdotool matches the Japanese captions only in a UTF-8 locale
program=$(realpath "$1")
work=$(mktemp -d)
source "$(dirname "$0")/../support/xvfb.sh"

cd "$work"  # the program must find its data beside itself, not here
"$program" >"$work/program.log" 2>&1 &
program_pid=$!

window=$(wait_for_window メニュー)
size=$(xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
[ "$size" = "629x361" ] || fail "menu client area is $size, not 629x361"

# おわり: endButton at 436, 275, 152 x 52 in the client area.
start=$(date +%s%N)
xdotool mousemove --window "$window" 512 301 click 1
wait_for_end
[ "$exit_status" = 0 ] || fail "the program ended with status $exit_status"
elapsed_ms=$(( ($(date +%s%N) - start) / 1000000 ))
if [ "$elapsed_ms" -lt 400 ] || [ "$elapsed_ms" -gt 3000 ]; then
    fail "the program ended ${elapsed_ms} ms after the click, not about a second"
fi
echo "smoke: menu $size, ended with status 0 ${elapsed_ms} ms after おわり"
