#!/usr/bin/env bash
# Start-up of the program (process start to the menu's first paint) against a bare
# Qt program showing one 629 x 361 widget, both under one Xvfb in the same run:
# wall time with hyperfine, peak memory with GNU time.
# Usage: bench/shell/startup.sh [build dir]   (default: build)
set -euo pipefail
build=$(realpath "${1:-build}")
cmake --build "$build" --target bench_menu_first_paint bench_bare_first_paint >/dev/null

exec {display_fd}<> <(:)
Xvfb -displayfd "$display_fd" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
measure=$(mktemp)
trap 'kill $xvfb_pid; rm -f "$measure"' EXIT
read -r -t 10 -u "$display_fd" display_number
export DISPLAY=":$display_number"
unset QT_QPA_PLATFORM

hyperfine --warmup 3 --runs 30 -N \
    -n bare "$build/bench_bare_first_paint" \
    -n vellumark "$build/bench_menu_first_paint"

peak_kib() {
    local best=0 kib
    for _ in 1 2 3 4 5; do
        /usr/bin/time -o "$measure" -f '%M' "$1" >/dev/null 2>&1
        kib=$(tail -n 1 "$measure")
        [ "$kib" -gt "$best" ] && best=$kib
    done
    echo "$best"
}
bare=$(peak_kib "$build/bench_bare_first_paint")
program=$(peak_kib "$build/bench_menu_first_paint")
echo "peak RSS: bare ${bare} KiB, vellumark ${program} KiB, difference $(( (program - bare) / 1024 )) MiB"
