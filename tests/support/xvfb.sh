# SPDX-License-Identifier: MIT
# Sourced by the scripts that run the real program in a real X server. Needs `work`,
# a scratch folder, set first; starts a private Xvfb (a free display, so parallel
# runs never collide) and cleans up after the script, whatever way it ends.
xvfb_pid=""
program_pid=""
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    chmod -R u+w "$work" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; [ -f "$work/program.log" ] && cat "$work/program.log" >&2; exit 1; }

exec {display_fd}<> <(:)
Xvfb -displayfd "$display_fd" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
read -r -t 10 -u "$display_fd" display_number
export DISPLAY=":$display_number"
unset QT_QPA_PLATFORM

# The id of the visible window titled exactly $1, waiting up to ten seconds.
wait_for_window() {
    local window
    window=$(timeout 10 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1) || true
    [ -n "$window" ] || fail "no window titled $1"
    echo "$window"
}

# Waits up to ten seconds for program_pid to end and keeps its status in exit_status.
exit_status=""
wait_for_end() {
    for _ in $(seq 1 100); do
        if ! kill -0 "$program_pid" 2>/dev/null; then
            exit_status=0
            wait "$program_pid" || exit_status=$?
            program_pid=""
            return
        fi
        sleep 0.1
    done
    fail "the program did not end"
}
