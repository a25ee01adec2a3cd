#!/usr/bin/env bash
# The bar at a display scale of 125 % and of 150 %: every size and place of the
# 96-DPI layout grows with the scale, the gradient keeps its end colours, the
# topmost button shows the 150 % drawing of its icon, the site list opens
# under the label and the design window grows too.
. "$(dirname "$0")/lib.sh"

DESIGN_TITLE="Design wechseln"
ICON_FILE=$REPO_DIR/assets/icons/image6.ico # the topmost button, not on top yet

# Back to 100 % even after a failure, with a fresh server, so the tests after
# this one see the prefix as it was.
restore_scale() {
    local rc=$?
    cleanup
    tx_set_dpi "$WINEPREFIX" 96 || { log "FAIL: could not set the display scale back to 96 DPI"; rc=1; }
    exit "$rc"
}
trap restore_scale EXIT

# A mismatch is logged and counted, and the checks go on: one run shows every
# difference. The script fails at the end when there was any.
FAILURES=0
miss() { log "FAIL: $*"; FAILURES=$((FAILURES + 1)); }
check_eq() { if [ "$1" = "$2" ]; then pass "$3"; else miss "$3: expected '$2', got '$1'"; fi; }

# A length of the 96-DPI layout at the current scale, rounded half up.
DPI=96
s() { echo $((($1 * DPI + 48) / 96)); }

# The bar's client origin and size: BX BY BW BH.
read_bar() { read -r BX BY BW BH < <(geometry "$MAIN_WIN"); }
bar_pixel() { pixel_of $((BX + $1)) $((BY + $2)); }
click_bar() { click_at $((BX + $(s "$1"))) $((BY + $(s "$2"))); }

# Visible top-level windows of the program other than the bar, as
# "X Y W H" lines (the site list has no title).
other_windows() {
    local id
    for id in $(xdotool search --all --onlyvisible --pid "$TX_PID" 2>/dev/null); do
        [ "$id" = "$MAIN_WIN" ] || geometry "$id"
    done
}
has_other_window() { [ -n "$(other_windows)" ]; }
no_other_window() { [ -z "$(other_windows)" ]; }

# channels_near RRGGBB RRGGBB SLACK: every channel within SLACK.
channels_near() {
    local i a b d
    for i in 0 2 4; do
        a=$((16#${1:i:2})) b=$((16#${2:i:2})) d=$((a - b))
        [ "${d#-}" -le "$3" ] || return 1
    done
}

# The 150 % drawing of the topmost button's icon, compared with the screen.
# The bar's gradient runs top to bottom only, so its column at client x 2
# (left of the label) is the background behind every icon row: the icon file's
# entry of the scaled size, drawn over that column, must be what the screen
# shows at the button's scaled place. A 20 px drawing, or one stretched to
# 22 or 33 px, differs in hundreds of pixels. Also the box of the pixels that
# differ from the background must be the drawing's own opaque box (28x28 of
# the 30 px one), which names the size that was drawn when the check fails.
check_icon() {
    local size index ix iy box want differ
    size=$(s 20)
    index=$(identify -format '%p %w\n' "$ICON_FILE" | awk -v w="$size" '$2 == w { print $1; exit }')
    if [ -z "$index" ]; then miss "$ICON_FILE has no ${size} px drawing"; return; fi
    ix=$((BX + $(s 380))) iy=$((BY + $(s 10)))

    # Around the button, 10 px each way: the icon's opaque box there.
    box=$(convert "$WORK_DIR/screen.png" -crop "$((size + 20))x$((size + 20))+$((ix - 10))+$((iy - 10))" +repage \
        \( "$WORK_DIR/screen.png" -crop "1x$((size + 20))+$((BX + 2))+$((iy - 10))" +repage \
        -scale "$((size + 20))x$((size + 20))!" \) \
        -compose difference -composite -colorspace gray -threshold 1% -format '%@' info:)
    want=$(convert "${ICON_FILE}[$index]" -alpha extract -threshold 0 -format '%@' info:)
    want=$(echo "$want" | awk -F'[x+]' '{ printf "%dx%d+%d+%d", $1, $2, $3 + 10, $4 + 10 }')
    check_eq "$box" "$want" "the topmost icon covers the box of the ${size} px drawing"

    convert "$WORK_DIR/screen.png" -crop "1x${size}+$((BX + 2))+$iy" +repage -scale "${size}x${size}!" \
        "${ICON_FILE}[$index]" -compose over -composite -depth 8 "$WORK_DIR/icon-drawn.png"
    convert "$WORK_DIR/screen.png" -crop "${size}x${size}+$ix+$iy" +repage -depth 8 "$WORK_DIR/icon-shown.png"
    # Rounding in the alpha blend leaves a unit here and there.
    differ=$(compare -metric AE -fuzz 2% "$WORK_DIR/icon-drawn.png" "$WORK_DIR/icon-shown.png" null: 2>&1 || true)
    differ=$(echo "$differ" | awk '{ printf "%d", $1 }')
    if [ "$differ" -le 5 ]; then
        pass "the topmost icon is the ${size} px drawing ($differ pixels off)"
    else
        miss "the topmost icon is not the ${size} px drawing: $differ of $((size * size)) pixels differ"
    fi
}

# The site list opens under the label when the label is clicked.
check_picker() {
    local x y w h found=
    click_bar 85 20
    if ! wait_until 5 has_other_window; then miss "a click on the label opened no site list"; return; fi
    sleep 0.2
    while read -r x y w h; do
        if [ $((x - BX)) -eq "$(s 10)" ] && [ $((y - BY)) -eq "$(s 30)" ] &&
            [ "$w" -eq "$(s 150)" ] && [ "$h" -eq "$(s 200)" ]; then found=1; fi
    done < <(other_windows)
    if [ -n "$found" ]; then
        pass "the site list is $(s 150)x$(s 200) at client ($(s 10),$(s 30)), under the label"
    else
        miss "no site list of $(s 150)x$(s 200) at client ($(s 10),$(s 30)); windows:" \
            "$(other_windows | while read -r x y w h; do printf '%sx%s at (%s,%s) ' "$w" "$h" $((x - BX)) $((y - BY)); done)"
    fi
    # A click on the bar outside its controls closes the list without a choice.
    click_bar 4 4
    wait_until 5 no_other_window || fail "a click on the bar did not close the site list"
}

# The design window: its size, and its preview showing the middle part of the
# bar's background. It opens on design 1; three steps forward reach 203, the
# design of the bar, whose rows were read before the window covered them.
check_design_window() {
    local id dx dy dw dh top bottom
    click_bar 420 20
    wait_until 5 has_visible "$DESIGN_TITLE" || { miss "the design button opened no design window"; return; }
    sleep 0.3
    id=$(find_visible "$DESIGN_TITLE")
    read -r dx dy dw dh < <(geometry "$id")
    check_eq "${dw}x$dh" "$(s 260)x$(s 70)" "the design window's client size at $DPI DPI"
    for _ in 1 2 3; do
        click_at $((dx + $(s 240))) $((dy + $(s 20)))
        sleep 0.25
    done
    screenshot
    top=$(pixel_of $((dx + $(s 130))) $((dy + $(s 10))))
    bottom=$(pixel_of $((dx + $(s 130))) $((dy + $(s 30) - 1)))
    if channels_near "$top" "$MIDDLE_TOP" 2 && channels_near "$bottom" "$MIDDLE_BOTTOM" 2; then
        pass "the preview shows the bar's rows $(s 10) to $(($(s 30) - 1)) ($top to $bottom)"
    else
        miss "the preview shows $top to $bottom, the bar's middle rows are $MIDDLE_TOP to $MIDDLE_BOTTOM"
    fi
    click_at $((dx + $(s 200))) $((dy + $(s 50))) # "Abbrechen"
    wait_until 5 bash -c "! xdotool search --onlyvisible --name '^$DESIGN_TITLE\$' >/dev/null 2>&1" ||
        miss "'Abbrechen' did not close the design window"
}

run_at() {
    DPI=$1
    log "--- $DPI DPI"
    tx_set_dpi "$WINEPREFIX" "$DPI" || fail "could not set the display scale to $DPI DPI"
    KEY_TARGET_WIN=  # the server restart ended it
    fresh_user
    seed_settings
    start_tellurix
    show_bar >/dev/null
    xdotool mousemove 5 5 # nothing highlighted, no tip
    sleep 0.3
    read_bar
    check_eq "${BW}x$BH" "$(s 530)x$(s 40)" "the bar's client size at $DPI DPI"

    screenshot
    local x
    for x in 0 $(s 100) $(s 265) $(s 389) $((BW - 1)); do
        check_eq "$(bar_pixel "$x" 0)" B6FF00 "design 203, first row at x $x"
        check_eq "$(bar_pixel "$x" $((BH - 1)))" 5B7F00 "design 203, last row at x $x"
    done
    MIDDLE_TOP=$(bar_pixel "$(s 100)" "$(s 10)")
    MIDDLE_BOTTOM=$(bar_pixel "$(s 100)" $(($(s 30) - 1)))
    [ "$MIDDLE_TOP" != "$MIDDLE_BOTTOM" ] || miss "the bar has no gradient at $DPI DPI"
    [ "$DPI" -ne 144 ] || check_icon

    check_picker
    [ "$DPI" -ne 144 ] || check_design_window

    click_bar 510 20 # quit
    if wait_until 10 bash -c "! kill -0 $TX_PID 2>/dev/null"; then
        wait_for_exit "$TX_PID" 1
        check_eq "$EXIT_CODE" 0 "the quit button ends the program at $DPI DPI"
    else
        miss "a click on the quit button at client ($(s 510),$(s 20)) did not end the program"
    fi
}

run_at 120
run_at 144
[ "$FAILURES" -eq 0 ] || fail "$FAILURES checks failed"
pass "all checks"
