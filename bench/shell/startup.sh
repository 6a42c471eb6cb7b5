#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Start-up of the program against a bare Qt program showing one 629 x 361 widget, both
# under one Xvfb, taking turns (bare, program, program, bare, ...) so that a slow spell
# of the machine falls on both alike. Two moments end a run: the window mapped (its
# first expose) and its first paint. For each, the wall-clock time from process start
# and the processor time the process used (steadier on a busy machine). Peak memory
# comes from GNU time.
# Needs the Debian packages xvfb and time.
# Usage: bench/shell/startup.sh [build dir] [runs of each]   (default: build 40)
set -euo pipefail
build=$(realpath "${1:-build}")
runs=${2:-40}
for tool in Xvfb /usr/bin/time; do
    command -v "$tool" >/dev/null || { echo "startup.sh: $tool is missing (apt-get install xvfb time)" >&2; exit 1; }
done
cmake --build "$build" --target bench_menu_first_paint bench_bare_first_paint >/dev/null
declare -A binary=([bare]="$build/bench_bare_first_paint" [program]="$build/bench_menu_first_paint")

exec {display_fd}<> <(:)
Xvfb -displayfd "$display_fd" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
time_file=$(mktemp)
trap 'kill $xvfb_pid; rm -f "$time_file"' EXIT
read -r -t 10 -u "$display_fd" display_number
export DISPLAY=":$display_number"
unset QT_QPA_PLATFORM

# "<wall> <processor>" in microseconds: from just before the process starts to its
# exit, and what the process reports it used.
run_once() {
    local start=${EPOCHREALTIME/./} cpu
    cpu=$("${binary[$1]}" "$2" 2>/dev/null)
    echo "$(( ${EPOCHREALTIME/./} - start )) $cpu"
}

for who in bare program; do run_once $who paint >/dev/null; done  # warm the caches
declare -A wall cpu
for ((i = 0; i < runs; i++)); do
    order=(bare program); ((i % 2)) && order=(program bare)
    for until in expose paint; do
        for who in "${order[@]}"; do
            read -r w c <<<"$(run_once "$who" "$until")"
            wall[$who-$until]+="$w " cpu[$who-$until]+="$c "
        done
    done
done

# "min median" in milliseconds of a list of microseconds.
min_median() {
    tr ' ' '\n' <<<"$1" | grep . | sort -n |
        awk '{ v[NR] = $1 } END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.1f %.1f", v[1] / 1000, m / 1000 }'
}
echo "$runs runs of each, interleaved; milliseconds: wall-clock from process start, processor time used"
printf '%-29s %16s %16s %16s\n' "" "bare min/median" "program min/med" "ratio min/med"
for kind in wall cpu; do
    declare -n list=$kind
    for until in expose paint; do
        read -r bare_min bare_median <<<"$(min_median "${list[bare-$until]}")"
        read -r program_min program_median <<<"$(min_median "${list[program-$until]}")"
        label="$([ $kind = wall ] && echo "wall" || echo "processor"), $([ $until = expose ] && echo "mapped" || echo "first paint")"
        printf '%-29s %7s / %6s %7s / %6s %7s / %6s\n' "$label" "$bare_min" "$bare_median" "$program_min" "$program_median" \
            "$(awk "BEGIN { printf \"%.2f\", $program_min / $bare_min }")" \
            "$(awk "BEGIN { printf \"%.2f\", $program_median / $bare_median }")"
    done
done

peak_kib() {
    local best=0 kib
    for _ in 1 2 3 4 5; do
        /usr/bin/time -o "$time_file" -f '%M' "${binary[$1]}" >/dev/null 2>&1
        kib=$(tail -n 1 "$time_file")
        [ "$kib" -gt "$best" ] && best=$kib
    done
    echo "$best"
}
bare=$(peak_kib bare)
program=$(peak_kib program)
echo "peak RSS: bare ${bare} KiB, program ${program} KiB, difference $(( (program - bare) / 1024 )) MiB"
