#!/usr/bin/env bash
# The bar's look on screen: the gradient of the design, the search field on
# the same strip, and the design window stepping, activating and cancelling.
. "$(dirname "$0")/lib.sh"

DESIGN_TITLE="Design wechseln"

# Pixel of the bar's client area (from the last screenshot).
bar_pixel() {
    local x y w h
    read -r x y w h < <(geometry "$MAIN_WIN")
    pixel_of $((x + $1)) $((y + $2))
}
design_window() { find_visible "$DESIGN_TITLE"; }
# Clicks a point of the design window's client area.
click_design() {
    local x y w h
    read -r x y w h < <(geometry "$(design_window)")
    click_at $((x + $1)) $((y + $2))
    sleep 0.25
}
preview_colour() {
    local x y w h
    read -r x y w h < <(geometry "$(design_window)")
    screenshot
    pixel_of $((x + 130)) $((y + 10))
}
press_forward() { click_design 240 20; }
press_back() { click_design 20 20; }
open_design_window() {
    click_control 5
    wait_until 5 has_visible "$DESIGN_TITLE" || fail "control 5 opened no design window"
    sleep 0.3
}
top_row_is() { screenshot; [ "$(bar_pixel 100 0)" = "$1" ]; }

fresh_user
seed_settings
start_tellurix
show_bar >/dev/null
# Take the pointer off the bar so nothing is highlighted.
xdotool mousemove 5 5
sleep 0.3
screenshot
cp "$WORK_DIR/screen.png" "$WORK_DIR/bar-203.png"
for x in 0 100 389 390 391 529; do
    expect_eq "$(bar_pixel $x 0)" "B6FF00" "design 203, top row at x $x"
    expect_eq "$(bar_pixel $x 39)" "5B7F00" "design 203, bottom row at x $x"
done
row10=$(bar_pixel 100 10)
row29=$(bar_pixel 100 29)
[ "$row10" != "$row29" ] || fail "the strip has no gradient"

# The search field shows the same strip behind black text.
click_control 2
xdotool type --delay 20 "Wetter"
sleep 0.3
screenshot
expect_eq "$(bar_pixel 360 10)" "$row10" "the search field's background is the strip (row 10)"
expect_eq "$(bar_pixel 360 29)" "$row29" "the search field's background is the strip (row 29)"
read -r bx by _ _ < <(geometry "$MAIN_WIN")
black=$(convert "$WORK_DIR/screen.png" -crop "80x20+$((bx + 170))+$((by + 10))" -depth 8 txt:- | grep -c '#000000' || true)
[ "$black" -gt 20 ] || fail "no black text in the search field ($black pixels)"
pass "the search field shows black text ($black pixels)"

# The design window opens on design 1 with "<" doing nothing.
open_design_window
expect_eq "$(preview_colour)" "E00000" "the design window opens on design 1"
is_viewable "$MAIN_WIN" || fail "the bar went away under the design window"
press_back
expect_eq "$(preview_colour)" "E00000" "'<' does nothing on design 1"
for ((i = 0; i < 13; i++)); do press_forward; done
expect_eq "$(preview_colour)" "707070" "thirteen '>' reach design 14"
press_forward
expect_eq "$(preview_colour)" "707070" "'>' does nothing on design 14"

# Back to design 8 and activate it: the bar repaints.
for ((i = 0; i < 6; i++)); do press_back; done
expect_eq "$(preview_colour)" "0082E0" "six '<' go back to design 8"
click_design 90 50
wait_until 5 bash -c "! xdotool search --onlyvisible --name '^$DESIGN_TITLE\$' >/dev/null 2>&1" ||
    fail "'Aktivieren' did not close the design window"
wait_until 5 top_row_is "0094FF" || fail "'Aktivieren' did not repaint the bar: $(bar_pixel 100 0)"
pass "'Aktivieren' repaints the bar with design 207"

# "Abbrechen" keeps what the bar shows, on screen and in the file.
open_design_window
press_forward
press_forward
click_design 200 50
wait_until 5 bash -c "! xdotool search --onlyvisible --name '^$DESIGN_TITLE\$' >/dev/null 2>&1" ||
    fail "'Abbrechen' did not close the design window"
sleep 0.3
top_row_is "0094FF" || fail "'Abbrechen' changed the bar"
pass "'Abbrechen' keeps the design on screen"
quit_by_button
grep -q '^Design = 207' "$SETTINGS_FILE" || fail "the activated design was not saved: $(cat "$SETTINGS_FILE")"
pass "the activated design is saved"

# The choice survives a restart.
start_tellurix
show_bar >/dev/null
xdotool mousemove 5 5
wait_until 5 top_row_is "0094FF" || fail "design 207 did not come back after a restart"
pass "design 207 survives a restart"
quit_by_button

# A stored number that names no design shows (and saves) the default.
seed_settings 300
start_tellurix
show_bar >/dev/null
xdotool mousemove 5 5
wait_until 5 top_row_is "B6FF00" || fail "Design = 300 did not show design 203"
pass "Design = 300 shows design 203"
quit_by_button
grep -q '^Design = 203' "$SETTINGS_FILE" || fail "Design = 300 was not saved as 203"
pass "Design = 300 is saved as 203"
