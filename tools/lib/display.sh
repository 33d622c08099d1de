# shellcheck shell=bash disable=SC2154 # the variables of tools/lib.sh
# Sourced after tools/lib.sh by the scripts that show windows: a virtual display, a window
# manager, waiting for a window.

# within seconds command...: whether the command succeeds, tried every 0.1 s for that long.
within() {
    local tries
    for ((tries = $1 * 10; tries > 0; tries--)); do
        "${@:2}" && return 0
        sleep 0.1
    done
    return 1
}

# start_display [--wm [--panel H]] [WxHxD]: a virtual X display for the rest of the script, as
# DISPLAY; with --wm, also a window manager (openbox), so windows are framed and placed as on a
# desktop; with --panel too, a panel H pixels high along the bottom that the window manager keeps
# windows off, as a taskbar. All end at exit.
start_display() {
    local wm=0 panel=0 dir
    [ "${1:-}" != --wm ] || { wm=1; shift; }
    [ "${1:-}" != --panel ] || { panel=$2; shift 2; }
    require_tools Xvfb
    new_temp_dir dir
    # -displayfd: the server picks a free display and writes its number when it is ready.
    # -noreset: the server does not start over each time its last client leaves, which would
    # refuse or lose a client that comes just then (the window manager, a panel).
    Xvfb -displayfd 9 -screen 0 "${1:-1280x1024x24}" -nolisten tcp -noreset 9>"$dir/display" >"$dir/xvfb.log" 2>&1 &
    on_exit kill_and_wait $!
    within 30 test -s "$dir/display" || die "the virtual display did not start: $(cat "$dir/xvfb.log")"
    DISPLAY=":$(cat "$dir/display")"
    export DISPLAY
    [ $wm = 1 ] || return 0
    require_tools openbox xprop
    openbox >/dev/null 2>&1 &
    on_exit kill_and_wait $!
    # The window manager is up once it announces itself on the root window.
    within 30 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"' ||
        die "the window manager did not start"
    [ "$panel" = 0 ] || reserve_bottom_panel "$panel" "${1:-1280x1024x24}"
}

# reserve_bottom_panel height WxHxD: a tint2 taskbar along the bottom edge, which reserves its
# height (_NET_WM_STRUT_PARTIAL) as Windows' taskbar does; back once the window manager has taken
# it off the work area (_NET_WORKAREA).
reserve_bottom_panel() {
    local width=${2%%x*} screen=${2#*x} dir
    require_tools tint2
    new_temp_dir dir
    printf '%s\n' "panel_items = T" "panel_position = bottom center horizontal" "panel_size = 100% $1" \
        "strut_policy = follow_size" >"$dir/tint2rc"
    tint2 -c "$dir/tint2rc" >"$dir/tint2.log" 2>&1 &
    on_exit kill_and_wait $!
    within 30 sh -c "xprop -root _NET_WORKAREA | grep -q '= 0, 0, $width, $((${screen%%x*} - $1)),'" ||
        die "the window manager did not reserve the panel's $1 px ($(xprop -root _NET_WORKAREA)): $(tail -3 "$dir/tint2.log")"
}

stop_wineserver() { { WINEPREFIX=$1 wineserver -k; WINEPREFIX=$1 wineserver -w; } 2>/dev/null || true; }
# kill_and_wait pid: TERM, then KILL after five seconds (a process that ended meanwhile is no failure).
kill_and_wait() { stop_process "$1" 5 3>/dev/null || true; }

# wait_for_window name [seconds]: prints the id of the first window whose name matches.
wait_for_window() {
    within "${2:-60}" first_window "$1" || { echo "$milka_script: no window \"$1\" appeared" >&2; return 1; }
}
first_window() { { xdotool search --name "$1" 2>/dev/null || true; } | head -1 | grep .; }
# first_windows pid log: the program's splash screen, then its data-check window, each seen while
# the process (the program, or ./run that becomes it) runs; else a failure, with the log's end.
first_windows() {
    local window name seconds what after
    shown_or_ended() { first_window "$name" >/dev/null || ! kill -0 "$1" 2>/dev/null; }
    for window in 'トモロのミルカ！！！\(地方版\)|60|splash screen|' 'SPAT4データ確認|15|data-check window| after its splash screen'; do
        IFS='|' read -r name seconds what after <<<"$window"
        within "$seconds" shown_or_ended "$1" && kill -0 "$1" 2>/dev/null && { echo "$what seen"; continue; }
        tail -20 "$2" >&2
        fail "the program showed no $what$after$(kill -0 "$1" 2>/dev/null || echo " (it ended)")"
        break
    done
}
