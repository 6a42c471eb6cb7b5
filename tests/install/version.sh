#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The build's version, worked out in throw-away repositories: plain on the release's
# tag, with the commit's day (in UTC) and short hash on any other commit, marked
# when the tree has changes, and plain when there is no repository of the tree's own.
set -euo pipefail
script=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

version_of() { cmake -DSOURCE_DIR="$1" -DRELEASE_VERSION=1.00 -P "$script" | cut -d ' ' -f 1; }
expect() {  # <folder> <expected version> <what is being checked>
    local got
    got=$(version_of "$1")
    [ "$got" = "$2" ] || fail "$3: version '$got', expected '$2'"
}

export GIT_AUTHOR_NAME=test GIT_AUTHOR_EMAIL=test@example.org
export GIT_COMMITTER_NAME=test GIT_COMMITTER_EMAIL=test@example.org
export GIT_CONFIG_NOSYSTEM=1 HOME="$work"
repo="$work/repo"
mkdir -p "$repo"
echo "changes" >"$repo/CHANGELOG.md"

expect "$repo" 1.00 "a tree outside any repository"

git -C "$repo" init -q
git -C "$repo" add CHANGELOG.md
# Late evening west of Greenwich, here and where the commit was made: already the
# next day in UTC.
export TZ=Pacific/Honolulu
GIT_COMMITTER_DATE="2026-12-06T21:30:00-05:00" git -C "$repo" commit -q -m first
first=$(git -C "$repo" rev-parse --short HEAD)
expect "$repo" "1.00+git20261207.$first" "an untagged commit"
[ "$(cmake -DSOURCE_DIR="$repo" -DRELEASE_VERSION=1.00 -P "$script" | cut -d ' ' -f 2)" = \
  "$(git -C "$repo" log -1 --format=%ct)" ] || fail "the build's time is not the commit's"
[ "$(cmake -DSOURCE_DIR="$repo" -DRELEASE_VERSION=1.00 -P "$script" | cut -d ' ' -f 3)" = 1.0.20794.4500 ] \
  || fail "Windows' four numbers are not the release's, the commit's day and its two-second step"

echo "more" >>"$repo/CHANGELOG.md"
expect "$repo" "1.00+git20261207.$first+dirty" "a commit with changes not committed"
GIT_COMMITTER_DATE="2026-12-08T09:00:00Z" git -C "$repo" commit -q -a -m second
second=$(git -C "$repo" rev-parse --short HEAD)
[ "$first" != "$second" ] || fail "two commits with one short hash"
expect "$repo" "1.00+git20261208.$second" "the next commit"

git -C "$repo" tag v0.99
expect "$repo" "1.00+git20261208.$second" "a commit tagged for another release"
git -C "$repo" tag v1.00
expect "$repo" 1.00 "the release's tag"
git -C "$repo" tag -d v1.00 >/dev/null && git -C "$repo" tag -a 1.00 -m release
expect "$repo" 1.00 "the release's annotated tag without a v"
echo "after the release" >>"$repo/CHANGELOG.md"
expect "$repo" "1.00+git20261208.$second+dirty" "the release's tag with changes not committed"

# A tarball unpacked inside some other repository takes nothing from it.
mkdir -p "$repo/unpacked"
echo "changes" >"$repo/unpacked/CHANGELOG.md"
expect "$repo/unpacked" 1.00 "a tree inside another repository"
echo "version: plain on the tag, 1.00+git<day>.<hash>[+dirty] otherwise"
