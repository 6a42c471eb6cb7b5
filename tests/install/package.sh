#!/usr/bin/env bash
# Builds the Debian package into a temporary folder and checks that it holds exactly
# the files `cmake --install` puts under /usr, and that its control data is right:
# the library scan ran, and the run-time packages the scan cannot see are there.
set -euo pipefail
build=$(realpath "$1")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

DESTDIR="$work/root" cmake --install "$build" --prefix /usr >"$work/install.log"
(cd "$work/root" && find . ! -type d | sed 's|^\.||' | LC_ALL=C sort) >"$work/installed"

cpack --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 \
    || { echo "FAIL: cpack did not build the package"; cat "$work/cpack.log"; exit 1; }
packages=("$work"/package/vellumark_*.deb)
[ "${#packages[@]}" = 1 ] && [ -f "${packages[0]}" ] || { echo "FAIL: expected one vellumark_*.deb"; ls "$work/package"; exit 1; }
deb=${packages[0]}
dpkg-deb --fsys-tarfile "$deb" | tar -t --quoting-style=literal | grep -v '/$' | sed 's|^\./|/|' \
    | LC_ALL=C sort >"$work/packaged"

if ! diff -u "$work/installed" "$work/packaged"; then
    echo "FAIL: the package's files (+) differ from the installed files (-)"
    exit 1
fi
[ -s "$work/installed" ] || { echo "FAIL: nothing installed"; exit 1; }

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = vellumark ] || { echo "FAIL: Package is '$(field Package)'"; exit 1; }
[ "$(field Version)" = 1.00 ] || { echo "FAIL: Version is '$(field Version)'"; exit 1; }
[ "$(field Section)" = games ] || { echo "FAIL: Section is '$(field Section)'"; exit 1; }
depends=$(field Depends)
for needed in 'libc6 (' 'libqt6widgets6 (' 'libqt6multimedia6 (' fonts-ipafont-mincho libqt6svg6 gstreamer1.0-plugins-base; do
    case "$depends" in
        *"$needed"*) ;;
        *) echo "FAIL: Depends lacks $needed: $depends"; exit 1 ;;
    esac
done
echo "package: $(wc -l <"$work/installed") files, $(stat -c %s "$deb") bytes; Depends: $depends"
