#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs into a temporary tree (DESTDIR, prefix /usr) and runs the installed program
# under Xvfb, started by the command of its menu entry, with a temporary home:
#  - the menu entry starts the program installed in <bindir> (games in the package)
#    and names an installed icon;
#  - the window's class is the one the menu entry names, so docks group them;
#  - the menu appears and the user's 問題.dat is the factory copy, byte for byte;
#  - a pair added in the add window lands in the user's file;
#  - a second start keeps the user's file;
#  - nothing under the install tree changes;
#  - without its factory copy the program reports an error and ends with status 1.
set -euo pipefail
export LC_ALL=C.UTF-8  # xdotool matches the Japanese captions only in a UTF-8 locale
build=$(realpath "$1")
app_id=$2
bindir=$3

work=$(mktemp -d)
source "$(dirname "$0")/../support/xvfb.sh"

root="$work/root"
DESTDIR="$root" cmake --install "$build" --prefix /usr --strip >"$work/install.log"
share="$root/usr/share/vellumark"
factory="$share/問題.org"
[ -f "$factory" ] || fail "no factory copy installed"

# What the menu entry starts, found on PATH as the desktop would.
exec_line=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/$app_id.desktop")
[ -n "$exec_line" ] || fail "the menu entry has no Exec line"
export PATH="$root/usr/$bindir:$PATH"
[ "$(command -v "${exec_line%% *}")" = "$root/usr/$bindir/vellumark" ] \
    || fail "the menu entry's command '$exec_line' is not the program installed in $bindir"

# The menu entry's icon, in every size the theme looks for.
icon=$(sed -n 's/^Icon=//p' "$root/usr/share/applications/$app_id.desktop")
[ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon named $icon"
for size in 16 24 32 48 64 128 256; do
    png="$root/usr/share/icons/hicolor/${size}x${size}/apps/$icon.png"
    file -b "$png" 2>/dev/null | grep -q "^PNG image data, $size x $size," || fail "no ${size} x ${size} PNG icon named $icon"
done

snapshot() { (cd "$root" && find . -printf '%p %y %m %s\n' | LC_ALL=C sort && find . -type f -exec sha256sum {} + | LC_ALL=C sort); }
chmod -R a-w "$root"  # as a system prefix is to a user (root writes anyway; the snapshot catches that)
snapshot >"$work/tree-before"

export HOME="$work/home"
export XDG_DATA_HOME="$HOME/.local/share"
export XDG_CONFIG_HOME="$HOME/.config"
export XDG_CACHE_HOME="$HOME/.cache"
mkdir -p "$HOME"
users_file="$XDG_DATA_HOME/Vellumark/問題.dat"

start_program() {
    cd "$work"
    $exec_line >"$work/program.log" 2>&1 &
    program_pid=$!
}
end_from_menu() {
    local menu
    menu=$(wait_for_window メニュー)
    xdotool mousemove --window "$menu" 512 301 click 1  # おわり
    wait_for_end
    [ "$exit_status" = 0 ] || fail "the program ended with status $exit_status"
}

# First start: the user's pairs are made from the factory copy.
start_program
menu=$(wait_for_window メニュー)
wm_class=$(sed -n 's/^StartupWMClass=//p' "$root/usr/share/applications/$app_id.desktop")
xprop -id "$menu" WM_CLASS | grep -q "= \"$wm_class\"," \
    || fail "the window's class ($(xprop -id "$menu" WM_CLASS)) is not the menu entry's '$wm_class'"
[ -f "$users_file" ] || fail "no per-user 問題.dat after the first start"
cmp "$factory" "$users_file" || fail "the per-user 問題.dat is not the factory copy"

# Add the pair A, B: 字登録 on the menu, then 登, the two boxes and 登録.
count=$(head -n 1 "$factory" | tr -d ' \r')
[ "$count" -lt 80 ] || fail "the factory copy is full; this test needs room for one more pair"
{ printf ' %d \r\nA\r\nB\r\n' $((count + 1)); tail -n +2 "$factory"; } >"$work/expected.dat"
xdotool mousemove --window "$menu" 512 181 click 1
add=$(wait_for_window 字登録)
xdotool mousemove --window "$add" 614 30 click 1    # 登: opens the input panel
xdotool mousemove --window "$add" 338 229 click 1 type A  # first box
xdotool mousemove --window "$add" 427 230 click 1 type B  # second box
xdotool mousemove --window "$add" 335 285 click 1   # 登録
for _ in $(seq 1 50); do
    cmp -s "$work/expected.dat" "$users_file" && break
    sleep 0.1
done
cmp "$work/expected.dat" "$users_file" || fail "the added pair did not land in the per-user 問題.dat"
xdotool mousemove --window "$add" 678 30 click 1    # 戻
end_from_menu

# Second start: the user's pairs stay as they are.
start_program
end_from_menu
cmp "$work/expected.dat" "$users_file" || fail "a second start changed the user's 問題.dat"

snapshot >"$work/tree-after"
diff -u "$work/tree-before" "$work/tree-after" || fail "the install tree changed"

# A tree without its factory copy: an error box, status 1, nothing made for the user.
chmod u+w "$share"
rm "$factory"
export XDG_DATA_HOME="$work/other-user"
start_program
error=$(wait_for_window エラー)
[ ! -e "$XDG_DATA_HOME/Vellumark/問題.dat" ] || fail "a per-user 問題.dat was made without a factory copy"
# The box takes the keyboard where the pointer is (there is no window manager).
xdotool mousemove --window "$error" 5 5 key Return
wait_for_end
[ "$exit_status" = 1 ] || fail "without a factory copy the program ended with status $exit_status, not 1"
echo "installed in $bindir: menu shown, pairs kept in $users_file, install tree unchanged, missing factory copy reported"
