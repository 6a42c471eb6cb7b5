#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks the Debian package built from the package tree against that tree's install:
# exactly the files `cmake --install` puts under /usr, the program in /usr/games,
# stripped and without compiler notes, built with Debian's hardening; the version is
# the one the build worked out from the source tree; the control data is what a
# distribution expects, and the run-time packages the library scan cannot see are
# declared, each once.
set -euo pipefail
tree=$(realpath "$1")
out=$(realpath "$2")
version_script=$3
release_version=$4

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

packages=("$out"/vellumark_*.deb)
[ "${#packages[@]}" = 1 ] && [ -f "${packages[0]}" ] || fail "expected one vellumark_*.deb in $out"
deb=${packages[0]}

DESTDIR="$work/root" cmake --install "$tree" --prefix /usr --strip >"$work/install.log"
(cd "$work/root" && find . ! -type d | sed 's|^\.||' | LC_ALL=C sort) >"$work/installed"
[ -s "$work/installed" ] || fail "nothing installed"
dpkg-deb --fsys-tarfile "$deb" | tar -t --quoting-style=literal | grep -v '/$' | sed 's|^\./|/|' \
    | LC_ALL=C sort >"$work/packaged"
diff -u "$work/installed" "$work/packaged" || fail "the package's files (+) differ from the installed files (-)"

for file in /usr/games/vellumark /usr/share/doc/vellumark/copyright /usr/share/doc/vellumark/changelog.gz \
            /usr/share/doc/vellumark/changelog.Debian.gz /usr/share/man/man6/vellumark.6.gz; do
    grep -qx "$file" "$work/packaged" || fail "the package has no $file"
done

dpkg-deb -x "$deb" "$work/unpacked"
program="$work/unpacked/usr/games/vellumark"
file -b "$program" | grep -q ', stripped' || fail "the program is not stripped: $(file -b "$program")"
! readelf -S "$program" | grep -q '\.comment' || fail "the program keeps its .comment section"
readelf -d "$program" | grep -q 'BIND_NOW' || fail "the program is not linked with -z now"
readelf -l "$program" | grep -q 'GNU_RELRO' || fail "the program has no read-only relocations"
# The program calls no function that fortify or the stack protector would replace, so
# their marks are in the flags its sources were compiled with, not in the binary.
compile_flags=$(cat "$tree/CMakeFiles/vellumark.dir/flags.make")
for flag in -D_FORTIFY_SOURCE=2 -fstack-protector-strong -ffile-prefix-map=; do
    [[ "$compile_flags" == *"$flag"* ]] || fail "the program was compiled without $flag"
done
[[ "$(file -b "$program")" == *"pie executable"* ]] || fail "the program is not position-independent"

field() { dpkg-deb -f "$deb" "$1"; }
expected_version=$(cmake -DSOURCE_DIR="$(dirname "$version_script")/.." -DRELEASE_VERSION="$release_version" \
    -P "$version_script" | cut -d ' ' -f 1)
[ "$(field Version)" = "$expected_version" ] || fail "Version is '$(field Version)', the build's is '$expected_version'"
[ "$(field Package)" = vellumark ] || fail "Package is '$(field Package)'"
[ "$(field Section)" = games ] || fail "Section is '$(field Section)'"
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] || fail "Maintainer has no address: '$(field Maintainer)'"
[ -n "$(field Homepage)" ] || fail "no Homepage"
zcat "$work/unpacked/usr/share/doc/vellumark/changelog.Debian.gz" | head -n 1 | grep -qF "vellumark ($expected_version) " \
    || fail "changelog.Debian's first entry is not this version"

depends=$(field Depends)
for needed in 'libc6 (' 'libqt6widgets6 (' 'libqt6multimedia6 (' 'libqt6svg6 (' fonts-ipafont-mincho qt6-qpa-plugins; do
    [[ "$depends" == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done
duplicates=$(echo "$depends" | tr ',' '\n' | sed 's/^ *//; s/ .*//' | sort | uniq -d)
[ -z "$duplicates" ] || fail "Depends names $duplicates more than once: $depends"
[[ "$(field Recommends)" == *"pulseaudio | pipewire-pulse"* ]] || fail "Recommends lacks a sound server: $(field Recommends)"
[[ "$depends $(field Recommends)" != *gstreamer* ]] || fail "GStreamer is declared, but Qt plays the sounds through PulseAudio"
echo "package: $(wc -l <"$work/installed") files, $(stat -c %s "$deb") bytes, version $(field Version)"
echo "Depends: $depends"
echo "Recommends: $(field Recommends)"
