#!/bin/sh
# SPDX-License-Identifier: MIT
# Fuzzes the problem-file reader for a while: run.sh [seconds] (default 60).
# Builds a clang build in build-fuzz/ at the top of the source tree and runs the
# target on a scratch copy of the seed corpus, so the corpus in the tree stays as
# it is. Exits non-zero on a crash, a hang, a leak or any sanitizer report; the
# failing input is kept in build-fuzz/ as crash-*, timeout-*, leak-* or oom-*.
set -eu

seconds=${1:-60}
case $seconds in
  ''|*[!0-9]*) echo "usage: $0 [seconds]" >&2; exit 2 ;;
esac

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
build="$root/build-fuzz"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" \
  -DVELLUMARK_FUZZ=ON -DVELLUMARK_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target problem_file_fuzz -j2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
cp "$root"/tests/store/corpus/* "$work"/

# -timeout: one input running longer than this is a hang. The outer limit catches
# a fuzzer that never returns at all.
timeout $((seconds + 300)) "$build/tests/store/fuzz/problem_file_fuzz" \
  -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
  -dict="$here/problem-file.dict" -artifact_prefix="$build/" -print_final_stats=1 \
  "$work"
