#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a program of the Windows cross-build under Wine: CTest's
# CMAKE_CROSSCOMPILING_EMULATOR, and the test discovery at build time.
#
#   wine-run.sh <wine prefix> <DLL folders, ':'-separated> <program.exe> [arguments...]
#
# The prefix is made once (wineboot) and shared by every test of the build tree.
# Wine 8 hands no QT_* variable to Windows programs, so what the tests need is set
# in the prefix's HKCU\Environment: the offscreen platform (as the Linux suite
# runs) and a folder of fonts for it (the IPA Mincho the Linux suite uses).
set -euo pipefail
prefix="$1"; dlls="$2"; shift 2
# A Unix path as Wine names it: drive Z: is the root folder in every prefix.
windows_path() { local p="${1//\//\\}"; echo "Z:$p"; }
export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG="${WINEDEBUG:--all}"
# No "install Mono/Gecko?" questions, no menu entries for the desktop.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml,winemenubuilder.exe=}"

if [ ! -f "$prefix/.vellumark-ready" ]; then
  mkdir -p "$(dirname "$prefix")"
  exec 9>"$prefix.lock"
  flock 9
  if [ ! -f "$prefix/.vellumark-ready" ]; then
    rm -rf "$prefix"
    wineboot -i >/dev/null 2>&1
    fonts="$(mktemp -d "$(dirname "$prefix")/fonts.XXXXXX")"
    # Qt's FreeType font database reads one folder; the fonts the Linux suite has.
    for f in /usr/share/fonts/opentype/ipafont-mincho/*.ttf /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf \
             /usr/share/fonts/opentype/ipafont-gothic/*.ttf; do
      [ -f "$f" ] && ln -sf "$(readlink -f "$f")" "$fonts/"
    done
    mv "$fonts" "$prefix/vellumark-fonts"
    wine reg add 'HKCU\Environment' /v QT_QPA_PLATFORM /d offscreen /f >/dev/null 2>&1
    wine reg add 'HKCU\Environment' /v QT_QPA_FONTDIR /d "$(windows_path "$prefix/vellumark-fonts")" /f >/dev/null 2>&1
    wineserver -w
    touch "$prefix/.vellumark-ready"
  fi
  exec 9>&-
fi

# The Qt and MinGW DLLs, found through Wine's PATH.
winepath=""
IFS=: read -ra folders <<<"$dlls"
for folder in "${folders[@]}"; do
  [ -n "$folder" ] && winepath="${winepath:+$winepath;}$(windows_path "$folder")"
done
export WINEPATH="$winepath${WINEPATH:+;$WINEPATH}"
# Windows programs end their lines with CR LF; CTest's test discovery reads LF.
status=0
wine "$@" | tr -d '\r' || status=${PIPESTATUS[0]}
exit "$status"
