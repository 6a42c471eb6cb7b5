#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Windows zip as a user gets it: unzipped into a folder named ゲーム in a fresh
# Wine prefix, started on Xvfb. The menu appears; 字一覧 opens with the file loaded
# (no error box); 字登録 adds the pair 甲/由, typed by pasting (Wine reads a key that
# xdotool remaps for a kanji with the previous mapping); 問題.dat then holds the new
# pair first, in code page 932 with CR LF; おわり ends the program with status 0.
#
#   windows/smoke.sh <Vellumark-...-win64.zip> [folder for screenshots]
set -euo pipefail
zip=$(realpath "$1")
shots="${2:-}"
export LC_ALL=C.UTF-8  # xdotool matches the Japanese captions only in a UTF-8 locale
here="$(cd "$(dirname "$0")" && pwd)"
work=$(mktemp -d)
source "$here/../tests/support/xvfb.sh"

export WINEPREFIX="$work/wineprefix" WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
trap 'WINEPREFIX="$work/wineprefix" wineserver -k 2>/dev/null || true; cleanup' EXIT
wineboot -i >/dev/null 2>&1
wineserver -w

game="$work/ゲーム"
mkdir "$game"
(cd "$game" && unzip -q "$zip")
dat="$game/data/問題.dat"
before=$(python3 -c 'import sys; print(open(sys.argv[1], "rb").read().hex())' "$dat")

shot() { [ -n "$shots" ] && command -v import >/dev/null || return 0; mkdir -p "$shots"; import -window root "$shots/$1.png"; }
no_error_box() {
    if xdotool search --onlyvisible --name '^エラー$' >/dev/null 2>&1; then
        shot error; fail "an error box opened $1"
    fi
}
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }

cd "$work"
wine "$game/vellumark.exe" >"$work/program.log" 2>&1 &
program_pid=$!

window=$(timeout 60 xdotool search --sync --onlyvisible --name '^メニュー$' | head -n 1) || true
[ -n "$window" ] || { shot no-menu; fail "no window titled メニュー"; }
sleep 1; shot menu

# 字一覧: Command1(1) at 436, 97, 152 x 52.
click "$window" 512 123
list=$(wait_for_window 字一覧)
sleep 2; no_error_box "over 字一覧 (the file did not load)"; shot list
# Back to the menu: the back button at 656, 10, 44 x 40.
click "$list" 678 30
window=$(wait_for_window メニュー)

# 字登録: Command1(2) at 436, 155, 152 x 52; then 登 opens the input panel.
click "$window" 512 181
add=$(wait_for_window 字登録)
sleep 1; no_error_box "over 字登録"
click "$add" 614 30
sleep 1
paste_into() {  # paste_into <x> <y> <character>
    printf %s "$3" | xclip -selection clipboard
    click "$add" "$1" "$2"
    sleep 0.5
    xdotool key --clearmodifiers ctrl+v
    sleep 0.5
}
paste_into 338 229 甲
paste_into 427 230 由
shot add
# 登録 at 299, 268, 73 x 35.
click "$add" 335 285
sleep 2; no_error_box "after 登録"; shot added

python3 - "$dat" "$before" <<'PY' || fail "問題.dat does not hold the new pair first in code page 932 with CR LF"
import sys
after = open(sys.argv[1], "rb").read()
before = bytes.fromhex(sys.argv[2])
first, rest = before.split(b"\r\n", 1)
count = int(first)
expected = b" %d \r\n" % (count + 1) + "甲".encode("cp932") + b"\r\n" + "由".encode("cp932") + b"\r\n" + rest
if after != expected:
    print("expected", expected[:40].hex(" "), "\ngot     ", after[:40].hex(" "), file=sys.stderr)
    sys.exit(1)
PY

click "$add" 678 30
window=$(wait_for_window メニュー)
# おわり: Command1(4) at 436, 275, 152 x 52.
click "$window" 512 301
for _ in $(seq 1 300); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
wait_for_end
[ "$exit_status" = 0 ] || fail "the program ended with status $exit_status"
echo "windows smoke: menu, 字一覧 loaded, 字登録 wrote 甲/由 in code page 932, おわり with status 0"
