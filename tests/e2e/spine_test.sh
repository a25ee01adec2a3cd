#!/usr/bin/env bash
# The bar as a user meets it: hidden at start, called up by left Ctrl + left
# Shift + S only, 530 x 40, hidden again by the close box, pinned on top by
# its button, and a second start that hands over to the running copy.
. "$(dirname "$0")/lib.sh"

fresh_user
seed_settings
start_tellurix
sleep 1
is_hidden "$MAIN_WIN" || fail "the bar is visible right after start"
pass "hidden after start"

# Right Ctrl is not the hotkey.
focus_wine
press_keys $KEY_CTRL_R $KEY_SHIFT_L $KEY_S
sleep 0.4
is_hidden "$MAIN_WIN" || fail "right Ctrl + left Shift + S showed the bar"
pass "right Ctrl does nothing"

ms=$(show_bar)
log "hotkey to visible window: ${ms} ms (keys held 250 ms, poll every 100 ms)"
[ "$ms" -le 1500 ] || fail "the bar took ${ms} ms to come up"
pass "left Ctrl + left Shift + S shows the bar"

read -r x y w h < <(geometry "$MAIN_WIN")
expect_eq "${w}x${h}" "530x40" "client area"

# The close box (Alt+F4 asks the window manager to close it) only hides.
timeout 3 xdotool windowactivate --sync "$MAIN_WIN" 2>/dev/null || true
xdotool key --clearmodifiers alt+F4
wait_until 5 is_hidden "$MAIN_WIN" || fail "Alt+F4 did not hide the bar"
sleep 0.3
process_alive "$TX_PID" || fail "the program ended on close"
pass "close hides and the program lives on"

# Always on top: control 3 pins the bar and puts control 4 in its place.
show_bar >/dev/null
read -r bx by < <(control_point 3)
button_look() { import -display "$DISPLAY" -window root -crop "20x20+$((bx - 10))+$((by - 10))" -depth 8 rgb:- | md5sum; }
net_state() { xprop -id "$MAIN_WIN" _NET_WM_STATE 2>/dev/null; }
above() { net_state | grep -q _NET_WM_STATE_ABOVE; }
not_above() { ! above; }
before=$(button_look)
not_above || fail "the bar is on top before control 3"
click_control 3
wait_until 3 above || fail "control 3 did not make the bar top-most"
sleep 0.2
after=$(button_look)
[ "$before" != "$after" ] || fail "control 4 did not take the place of control 3"
pass "control 3 makes the bar top-most and shows control 4"
click_control 4
wait_until 3 not_above || fail "control 4 did not end top-most"
sleep 0.2
expect_eq "$(button_look)" "$before" "control 4 undoes top-most and shows control 3 again"

# A second start hands over to this copy and leaves the settings alone.
xdotool key --clearmodifiers alt+F4
wait_until 5 is_hidden "$MAIN_WIN" || fail "the bar did not hide"
settings_before=$(md5sum <"$SETTINGS_FILE")
first_pid=$TX_PID
first_win=$MAIN_WIN
launch_tellurix
second_pid=$TX_PID
wait_for_exit "$second_pid" 15
expect_eq "$EXIT_CODE" 0 "a second start exits with code 0"
TX_PID=$first_pid
MAIN_WIN=$first_win
wait_until 5 is_viewable "$MAIN_WIN" || fail "the second start did not bring up the running bar"
pass "the second start brings up the first copy's bar"
process_alive "$TX_PID" || fail "the first copy ended"
expect_eq "$(md5sum <"$SETTINGS_FILE")" "$settings_before" "the second start leaves the settings file alone"
[ "$(xdotool search --name "^$TITLE\$" | wc -l)" -eq 1 ] || fail "two main windows exist"

quit_by_button
