#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# make windows: the portable Windows zip and the setup, cross-built with MinGW-w64
# against the Qt that windows/build-qt.sh builds (once) from Debian's source packages.
# make windows-test: the same, then the whole suite under Wine on Xvfb.
#
#   windows/build.sh <native build folder> <Windows build folder> [--test]
#
# The native build folder provides the picture renderer, which runs on the build
# machine (make builds it first). CMAKE_FLAGS and JOBS work as for make.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
host_build="$(realpath "$1")"
build="$(realpath -m "$2")"
run_tests="${3:-}"
jobs="${JOBS:-$(nproc 2>/dev/null || echo 2)}"
sudo=""; [ "$(id -u)" = 0 ] || sudo=sudo

# What building the zip and the setup, running them under Wine and the smoke tests
# need, beyond what make and windows/build-qt.sh install.
packages=(ninja-build nsis zip unzip python3)
[ "$run_tests" = --test ] && packages+=(wine wine64 xvfb xauth xdotool x11-utils xclip fonts-ipafont-mincho)
missing=()
for p in "${packages[@]}"; do dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p"); done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get -o DPkg::Lock::Timeout=600 update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 install -y -qq \
    --no-install-recommends "${missing[@]}"
fi

# Each script hands over one folder on its standard output and nothing else.
handed_over() {
  local folder
  folder="$("$here/$1")"
  if [[ "$folder" == *$'\n'* || ! -d "$folder" ]]; then
    echo "windows/build.sh: $1 handed over no single folder but:" >&2
    printf '%s\n' "$folder" >&2
    return 1
  fi
  echo "$folder"
}
qt="$(handed_over build-qt.sh)"
gtest="$(handed_over build-gtest.sh)"
# The MinGW runtime DLLs, for the tests run from the build folder.
runtime=""
for dll in libstdc++-6.dll libwinpthread-1.dll; do
  runtime="$runtime:$(dirname "$(realpath "$(x86_64-w64-mingw32-g++-posix -print-file-name=$dll)")")"
done

# shellcheck disable=SC2086  # CMAKE_FLAGS is a list of options
cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$here/mingw-w64.cmake" -DCMAKE_PREFIX_PATH="$qt;$gtest" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_BUILD_TYPE=Release -DVELLUMARK_BENCH=OFF \
  -DVELLUMARK_HOST_RENDER="$host_build/resources/vellumark_render" \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$here/wine-run.sh;$build/wineprefix;$qt/bin$runtime" \
  ${CMAKE_FLAGS:-}
cmake --build "$build" -j "$jobs"
cmake --build "$build" --target windows_packages

if [ "$run_tests" = --test ]; then
  # A fresh Wine prefix for every run, made once for the whole suite.
  rm -rf "$build/wineprefix"
  "$here/wine-run.sh" "$build/wineprefix" "" cmd /c exit 0
  (cd "$build" && xvfb-run -a ctest --output-on-failure -j "$jobs")
fi
