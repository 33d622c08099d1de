# shellcheck shell=bash disable=SC2154 # the variables of tools/lib.sh
# Sourced after tools/lib.sh by the scripts that show windows: a virtual display, a window
# manager, waiting for a window.

# A virtual X display for the rest of the script, as DISPLAY; with --wm, also a window manager
# (openbox), so windows are framed and placed as on a desktop. Both end at exit.
#   start_display [--wm] [WxHxD]
start_display() {
    local wm=0 dir display tries=0
    [ "${1:-}" != --wm ] || { wm=1; shift; }
    require_tools Xvfb
    new_temp_dir dir
    # -displayfd: the server picks a free display and writes its number when it is ready.
    Xvfb -displayfd 9 -screen 0 "${1:-1280x1024x24}" -nolisten tcp 9>"$dir/display" >"$dir/xvfb.log" 2>&1 &
    on_exit kill_and_wait $!
    until display=$(cat "$dir/display" 2>/dev/null) && [ -n "$display" ]; do
        [ $((++tries)) -le 300 ] || die "the virtual display did not start: $(cat "$dir/xvfb.log")"
        sleep 0.1
    done
    export DISPLAY=":$display"
    [ $wm = 1 ] || return 0
    require_tools openbox xprop
    openbox >/dev/null 2>&1 &
    on_exit kill_and_wait $!
    tries=0
    # The window manager is up once it announces itself on the root window.
    until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; do
        [ $((++tries)) -le 300 ] || die "the window manager did not start"
        sleep 0.1
    done
}

# kill_and_wait pid: asks the process to end, and ends it after five seconds if it has not (a
# process that ended meanwhile is no failure).
kill_and_wait() { stop_process "$1" 5 || true; }

# wait_for_window name [seconds]: prints the id of the first window whose name matches.
wait_for_window() {
    local name=$1 tries=$((${2:-60} * 10)) id
    for ((; tries > 0; tries--)); do
        id=$(xdotool search --name "$name" 2>/dev/null | head -1) || true
        [ -z "$id" ] || { echo "$id"; return 0; }
        sleep 0.1
    done
    echo "$milka_script: no window \"$name\" appeared" >&2
    return 1
}
