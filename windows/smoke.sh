#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Windows packages as a user gets them, in one fresh Wine prefix on Xvfb.
# Each run of the program: the menu appears; 字一覧 opens with the file loaded (no
# error box); 字登録 adds the pair 甲/由, typed by pasting (Wine reads a key that
# xdotool remaps for a kanji with the previous mapping); the pairs' file then holds
# it first, in code page 932 with CR LF; おわり ends the program with status 0.
# - The setup, silent: the Start-menu shortcut starts the program, whose pairs are
#   %APPDATA%\Vellumark\問題.dat. A later setup (made here) replaces it in place:
#   one Apps entry, no file of the old version, the pairs and a file of the user's
#   kept. The older one then changes nothing. The quiet uninstall removes all it
#   installed, the shortcut and the Apps entry, and keeps the pairs.
# - The zip, unzipped into a folder named ゲーム: its pairs are data\問題.dat.
#
#   windows/smoke.sh <Windows build folder> [folder for screenshots]
set -euo pipefail
build=$(realpath "$1")
shots="${2:-}"
export LC_ALL=C.UTF-8  # xdotool matches the Japanese captions only in a UTF-8 locale
here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
work=$(mktemp -d)
source "$root/tests/support/xvfb.sh"
zip=$(echo "$build"/Vellumark-*-win64.zip)
setup=$(echo "$build"/Vellumark-*-win64-setup.exe)
[ -f "$zip" ] && [ -f "$setup" ] || fail "no zip and setup of one version in $build"

export WINEPREFIX="$work/wineprefix" WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
trap 'WINEPREFIX="$work/wineprefix" wineserver -k 2>/dev/null || true; cleanup' EXIT
wineboot -i >/dev/null 2>&1
wineserver -w
profile="$WINEPREFIX/drive_c/users/$(id -un)/AppData"
installed="$profile/Local/Programs/Vellumark"
shortcut="$profile/Roaming/Microsoft/Windows/Start Menu/Programs/Vellumark.lnk"
pairs="$profile/Roaming/Vellumark/問題.dat"
apps='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall'

shot() { [ -n "$shots" ] && command -v import >/dev/null || return 0; mkdir -p "$shots"; import -window root "$shots/$1.png"; }
# A control's centre in window pixels, from the twips its window's source gives it:
# centre <source file> <what stands before "TwipsRect(" on its line>
centre() {
    local left top width height
    read -r left top width height < <(sed -n "s/.*$2TwipsRect(\([0-9]*\), \([0-9]*\), \([0-9]*\), \([0-9]*\)).*/\1 \2 \3 \4/p" "$root/$1")
    [ -n "$height" ] || fail "no $2 in $1"
    echo "$(( (left + width / 2) / 15 )) $(( (top + height / 2) / 15 ))"
}
listButton=$(centre menu/MenuWindow.cpp '"listButton", ')
addButton=$(centre menu/MenuWindow.cpp '"addButton", ')
endButton=$(centre menu/MenuWindow.cpp '"endButton", ')
backButton=$(centre manage/ManageLayout.h 'BackButtonRect = ')
actionButton=$(centre manage/ManageLayout.cpp 'PictureButton(&form, ')  # 登 on 字登録
# shellcheck disable=SC2086  # the centre is two words
click() { xdotool mousemove --window "$1" $2 click 1; }
# poll <what failed> <command...>: tries the command for up to ten seconds.
poll() {
    local what="$1" end=$((SECONDS + 10))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$end" ] || { shot failed; fail "$what"; }
        sleep 0.1
    done
}
paste() {
    printf %s "$1" | xclip -selection clipboard
    poll "the clipboard does not hold $1" test "$(xclip -o -selection clipboard)" = "$1"
    xdotool key --clearmodifiers ctrl+v
}
hex() { python3 -c 'import sys; print(open(sys.argv[1], "rb").read().hex())' "$1"; }
# holds_new_pair <pairs' file>: 甲/由 first, before the factory pairs, in code page 932 with CR LF.
holds_new_pair() {
    python3 - "$1" "$root/data/問題.org" <<'PY'
import sys
first, rest = open(sys.argv[2], "rb").read().split(b"\r\n", 1)
expected = b" %d \r\n" % (int(first) + 1) + "甲".encode("cp932") + b"\r\n" + "由".encode("cp932") + b"\r\n" + rest
sys.exit(open(sys.argv[1], "rb").read() != expected)
PY
}

# play <pairs' file> <name of the screenshots> <command...>
play() {
    local file="$1" name="$2" window list add
    shift 2
    (cd "$work" && exec "$@" >"$work/program.log" 2>&1) &
    program_pid=$!
    window=$(timeout 60 xdotool search --sync --onlyvisible --name '^メニュー$' | head -n 1) || true
    [ -n "$window" ] || { shot no-menu; fail "no window titled メニュー"; }
    shot "$name-menu"
    click "$window" "$listButton"
    list=$(wait_for_window 字一覧)
    click "$list" "$backButton"  # not taken while an error box is open over 字一覧
    window=$(wait_for_window メニュー)
    click "$window" "$addButton"
    add=$(wait_for_window 字登録)
    # 登 opens the panel with the first box focused, the tab order leads on to 登録,
    # and Wine takes the events in the order they were sent.
    click "$add" "$actionButton"
    paste 甲; xdotool key Tab; paste 由; xdotool key Tab Return
    poll "$file does not hold the new pair first in code page 932 with CR LF" holds_new_pair "$file"
    shot "$name-added"
    click "$add" "$backButton"
    window=$(wait_for_window メニュー)
    click "$window" "$endButton"
    wait_for_end
    [ "$exit_status" = 0 ] || fail "the program ended with status $exit_status"
}

files() { (cd "$1" && find . -type f | sort); }
# What the setup left: the number of Apps entries, the files, the shortcut.
state() {
    wine reg query "$apps" 2>/dev/null | grep -c 'Uninstall\\' || true
    [ ! -d "$installed" ] || files "$installed"
    [ ! -f "$shortcut" ] || echo shortcut
}

wine "$setup" /S || fail "the setup ended with status $?"
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
for value in DisplayName DisplayIcon DisplayVersion Publisher URLInfoAbout EstimatedSize QuietUninstallString; do
    wine reg query "$apps\\Vellumark" /v "$value" >/dev/null 2>&1 || fail "the Apps entry has no $value"
done
# Wine's start follows a shortcut named by its Windows path alone.
play "$pairs" setup wine start /wait "$(winepath -w "$shortcut" 2>/dev/null)"
echo "a file of the user's" >"$installed/メモ.txt"
kept=$(hex "$pairs")

# A later version, without a file of this one.
cp -a "$build/stage" "$work/stage"
rm "$work/stage/LICENSE.txt"
numbers=$(sed -n 's/set(VELLUMARK_VERSION_NUMBERS "\(.*\)")/\1/p' "$build/generated/PackageVersion.cmake")
mkdir "$work/later"
cmake -DSTAGE="$work/stage" -DOUT="$work/later" -DVERSION=later -DVERSION_NUMBERS="${numbers%.*}.$((${numbers##*.} + 1))" \
    -DZIP=OFF -DICON="$root/resources/vellumark.ico" -DHOMEPAGE=https://example.org -DREADME="$here/text/README.txt" \
    -P "$here/Packages.cmake" >/dev/null
wine "$work/later/Vellumark-later-win64-setup.exe" /S || fail "the later setup ended with status $?"
upgraded=$(state)
[ "$upgraded" = "$(echo 1; (files "$work/stage"; echo ./uninstall.exe; echo ./メモ.txt) | sort; echo shortcut)" ] \
    || fail "after the upgrade: $upgraded"
wine reg query "$apps\\Vellumark" /v DisplayVersion | grep -q later || fail "the Apps entry is not the later version's"
[ "$(hex "$pairs")" = "$kept" ] || fail "the upgrade changed the pairs"

status=0; wine "$setup" /S || status=$?
[ "$status" != 0 ] && [ "$(state)" = "$upgraded" ] || fail "the older setup ended with $status over the later one"

quiet=$(wine reg query "$apps\\Vellumark" /v QuietUninstallString | tr -d '\r' | sed -n 's/.*REG_SZ *//p')
uninstaller=$(sed 's/^"\([^"]*\)".*/\1/' <<<"$quiet")
# shellcheck disable=SC2086  # the arguments after the program's name
wine "$uninstaller" ${quiet##*\" }
wineserver -w  # the uninstaller runs on from a copy of itself
[ "$(state)" = "$(echo 0; echo ./メモ.txt)" ] || fail "after the uninstall: $(state)"
[ "$(hex "$pairs")" = "$kept" ] || fail "the uninstall touched the pairs"

game="$work/ゲーム"
mkdir "$game"
(cd "$game" && unzip -q "$zip")
top=("$game"/*)
[ "${#top[@]}" = 1 ] && [ -f "${top[0]}/vellumark.exe" ] || fail "the zip holds more than one top folder"
play "${top[0]}/data/問題.dat" zip wine "${top[0]}/vellumark.exe"
echo "windows smoke: setup, upgrade, older setup refused, uninstall; zip; each run wrote 甲/由 in code page 932"
