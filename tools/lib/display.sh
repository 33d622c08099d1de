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

# reserve_bottom_panel height WxHxD: a window along the bottom edge that reserves its height
# (_NET_WM_STRUT_PARTIAL), as a taskbar does; back once the window manager has taken it off the
# work area (_NET_WORKAREA).
reserve_bottom_panel() {
    local height=$1 width=${2%%x*} screen=${2#*x} id tries=0 strut
    screen=${screen%%x*}
    xmessage -name milka-panel -geometry "${width}x$height+0+$((screen - height))" -buttons '' '' &
    on_exit kill_and_wait $!
    # Set once the window manager has framed the window: openbox takes a strut set while it is
    # still managing the window, but works it into the work area only when it changes. A window
    # mapped while it starts may be dropped, unmapped: it is asked to map again.
    for strut in 0 "$height"; do
        until id=$(xdotool search --name '^milka-panel$' 2>/dev/null | head -1) && [ -n "$id" ] &&
            { xprop -id "$id" _NET_FRAME_EXTENTS | grep -q = || { xdotool windowmap "$id"; false; }; } &&
            xprop -id "$id" -f _NET_WM_STRUT_PARTIAL 32c \
                -set _NET_WM_STRUT_PARTIAL "0,0,0,$strut,0,0,0,0,0,0,0,$((width - 1))" &&
            xprop -root _NET_WORKAREA | grep -q "= 0, 0, $width, $((screen - strut)),"; do
            [ $((++tries)) -le 300 ] ||
                die "the window manager did not reserve the panel's $height px ($(xprop -root _NET_WORKAREA))"
            sleep 0.1
        done
    done
}

# kill_and_wait pid: TERM, then KILL after five seconds (a process that ended meanwhile is no failure).
kill_and_wait() { stop_process "$1" 5 || true; }

# wait_for_window name [seconds]: prints the id of the first window whose name matches.
wait_for_window() {
    within "${2:-60}" first_window "$1" || { echo "$milka_script: no window \"$1\" appeared" >&2; return 1; }
}
first_window() { { xdotool search --name "$1" 2>/dev/null || true; } | head -1 | grep .; }
