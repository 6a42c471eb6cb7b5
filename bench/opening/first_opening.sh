#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The first opening of each window, every sample in a fresh process, on the
# offscreen platform: min and median of the first opening (Load to the first
# picture) and the median of the later openings in the same process.
# Usage: bench/opening/first_opening.sh [build dir] [runs] [windows...]
#   default: build, 20 runs, menu puzzle list add delete
# Each window is measured twice: opened straight after start ("direct"), and
# through the menu after it has painted and idled 200 ms ("after menu").
set -euo pipefail
build=$(realpath "${1:-build}")
runs=${2:-20}
shift $(( $# > 2 ? 2 : $# ))
windows=("$@")
[ ${#windows[@]} -gt 0 ] || windows=(menu puzzle list add delete)
cmake --build "$build" --target bench_first_opening >/dev/null
export QT_QPA_PLATFORM=offscreen

summary() {  # reads "first steady first_cpu steady_cpu" lines in microseconds
    awk '
        function sorted(a, n,   i, j, v) {
            for (i = 2; i <= n; i++) { v = a[i]; for (j = i - 1; j >= 1 && a[j] > v; j--) a[j + 1] = a[j]; a[j + 1] = v }
        }
        function median(a, n) { sorted(a, n); return (n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2) / 1000 }
        function least(a, n) { sorted(a, n); return a[1] / 1000 }
        { f[NR] = $1; s[NR] = $2; fc[NR] = $3; sc[NR] = $4 }
        END {
            n = NR
            printf "runs %d | first: wall min %.1f median %.1f ms, cpu min %.1f median %.1f ms", n, least(f, n), median(f, n), least(fc, n), median(fc, n)
            printf " | later: wall median %.2f ms, cpu median %.2f ms\n", median(s, n), median(sc, n)
        }'
}

for window in "${windows[@]}"; do
    for mode in direct after-menu; do
        flag=()
        [ "$mode" = after-menu ] && flag=(--after-menu)
        [ "$mode" = after-menu ] && [ "$window" = menu ] && continue
        printf '%-7s %-11s ' "$window" "$mode"
        for _ in $(seq "$runs"); do
            "$build/bench_first_opening" "$window" "${flag[@]}" 2>/dev/null \
                | sed -n 's/.*first=\([0-9]*\) steady=\([0-9]*\) first_cpu=\([0-9]*\) steady_cpu=\([0-9]*\).*/\1 \2 \3 \4/p'
        done | summary
    done
done
