#!/usr/bin/env bash
# Two monitors: the hotkey brings the bar up centred on the monitor the mouse
# is on. Runs on its own X server (Xephyr, 1280x800 at 0,0, the primary, and
# 1024x768 at 1280,0), which Wine of the test prefix uses while it runs.
. "$(dirname "$0")/lib.sh"

# The programs first, then the second X server; the prefix's server is back
# on the test display afterwards, even after a failure.
stop_monitors() {
    local rc=$?
    cleanup
    tx_xephyr_stop || { log "FAIL: could not give the prefix back its display"; rc=1; }
    exit "$rc"
}
trap stop_monitors EXIT
tx_xephyr_start || fail "could not start the two-monitor display"
log "two monitors on $DISPLAY"

# Centre of the bar with the window manager's frame around it: "X Y".
bar_centre() {
    local x y w h left=0 right=0 top=0 bottom=0 extents
    read -r x y w h < <(geometry "$MAIN_WIN")
    extents=$(xprop -id "$MAIN_WIN" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= *//p' | tr -d ' ')
    [ -z "$extents" ] || IFS=, read -r left right top bottom <<<"$extents"
    echo $((x - left + (left + w + right) / 2)) $((y - top + (top + h + bottom) / 2))
}

# expect_centre X Y WHAT: the bar's centre within 4 px of (X, Y).
expect_centre() {
    local cx cy
    read -r cx cy < <(bar_centre)
    if [ $((cx - $1)) -gt 4 ] || [ $((cx - $1)) -lt -4 ] || [ $((cy - $2)) -gt 4 ] || [ $((cy - $2)) -lt -4 ]; then
        fail "$3: expected the centre near ($1,$2), got ($cx,$cy)"
    fi
    pass "$3: centre ($cx,$cy)"
}

# mouse_to X Y: the pointer there, as the X server reports it.
mouse_to() {
    xdotool mousemove "$1" "$2"
    expect_eq "$(xdotool getmouselocation | sed -n 's/^x:\([0-9]*\) y:\([0-9]*\) .*/\1 \2/p')" "$1 $2" "the mouse at ($1,$2)"
}

fresh_user
seed_settings
start_tellurix

mouse_to 1500 300
show_bar >/dev/null
expect_centre $((1280 + 1024 / 2)) $((768 / 2)) "the bar on the second monitor"

xdotool key Escape
wait_until 5 is_hidden "$MAIN_WIN" || fail "Escape did not hide the bar"
pass "Escape hides the bar"

mouse_to 300 300
show_bar >/dev/null
expect_centre 640 400 "the bar back on the first monitor"

quit_by_button
