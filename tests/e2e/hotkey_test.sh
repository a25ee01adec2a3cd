#!/usr/bin/env bash
# The hotkey as people press it, with another program in front that logs the
# keys it receives: quick taps of S all bring up the bar, the chord's S never
# reaches that program while everything else does, and a chord of the user's
# own from the settings file (a bad one keeps the standard chord).
. "$(dirname "$0")/lib.sh"

KEY_K=45 KEY_A=38 KEY_ALT_L=64
KEY_LOG=$WORK_DIR/keys.log

fresh_user
seed_settings
start_tellurix

: >"$KEY_LOG"
wine "$TELLURIX_KEY_LOGGER" "$(winepath -w "$KEY_LOG")" </dev/null >/dev/null 2>&1 &
logger_pid=$!
STARTED_PIDS+=("$logger_pid")
logger_window() { xdotool search --all --onlyvisible --pid "$logger_pid" --name '^Tellurix key logger$' 2>/dev/null; }
wait_until 20 logger_window || fail "the key logger did not appear"
LOGGER_WIN=$(logger_window | head -n 1)
to_logger() {
    timeout 3 xdotool windowactivate --sync "$LOGGER_WIN" 2>/dev/null || true
    wait_until 3 is_active "$LOGGER_WIN" || fail "the key logger could not be brought to the front"
}
# logged DIRECTION VK: the program in front received that key message.
logged() { tr -d '\r' <"$KEY_LOG" | grep -qx "$1 $2"; }
keys_logged() { tr -d '\r' <"$KEY_LOG" | tr '\n' ' '; }
hide_bar() {
    wait_until 3 is_active "$MAIN_WIN" || fail "the bar came up but is not active"
    xdotool key Escape
    wait_until 3 is_hidden "$MAIN_WIN" || fail "Escape did not hide the bar"
}

# Quick taps of S while left Ctrl and left Shift are held: every one counts.
for ms in 30 50 70; do
    for i in $(seq 10); do
        to_logger
        xdotool keydown $KEY_CTRL_L keydown $KEY_SHIFT_L sleep 0.02 keydown $KEY_S sleep "0.0$ms" keyup $KEY_S \
            sleep 0.02 keyup $KEY_SHIFT_L keyup $KEY_CTRL_L
        wait_until 3 is_viewable "$MAIN_WIN" || fail "tap $i of $ms ms did not bring up the bar"
        hide_bar
    done
    pass "ten taps of $ms ms bring up the bar ten times"
done
logged down 53 && fail "the program in front received the chord's S"
logged down 11 || fail "the program in front did not receive the chord's Ctrl: $(keys_logged)"
pass "the chord's S is kept from the program in front, its modifiers are not"

# Other chords and plain typing reach the program in front.
: >"$KEY_LOG"
to_logger
xdotool keydown $KEY_CTRL_R keydown $KEY_SHIFT_R sleep 0.02 key $KEY_S sleep 0.02 keyup $KEY_SHIFT_R keyup $KEY_CTRL_R
xdotool keydown $KEY_CTRL_L keydown $KEY_SHIFT_R sleep 0.02 key $KEY_S sleep 0.02 keyup $KEY_SHIFT_R keyup $KEY_CTRL_L
xdotool key $KEY_A $KEY_S
sleep 0.5
is_hidden "$MAIN_WIN" || fail "right Ctrl/Shift brought up the bar"
expect_eq "$(keys_logged | grep -o 'down 53' | wc -l)" 3 "right Ctrl + right Shift + S, a right Shift and plain typing reach the program in front"
logged down 41 || fail "plain typing did not reach the program in front"

# A chord of the user's: either Ctrl with Alt and K; the standard chord is free then.
printf 'Tastenkuerzel = Strg+Alt+K\r\n' >>"$SETTINGS_FILE"
show_bar >/dev/null  # a bring-up reads the changed file
hide_bar
for ctrl in $KEY_CTRL_L $KEY_CTRL_R; do
    : >"$KEY_LOG"
    to_logger
    xdotool keydown $ctrl keydown $KEY_ALT_L sleep 0.02 key $KEY_K sleep 0.02 keyup $KEY_ALT_L keyup $ctrl
    wait_until 3 is_viewable "$MAIN_WIN" || fail "Strg+Alt+K (Ctrl key $ctrl) did not bring up the bar"
    hide_bar
    logged down 4B && fail "the program in front received the K of Strg+Alt+K"
    logged down E8 || fail "no neutral key between Alt's press and its release: $(keys_logged)"
done
pass "Tastenkuerzel = Strg+Alt+K works with either Ctrl, its K kept, Alt's release masked"
: >"$KEY_LOG"
to_logger
xdotool keydown $KEY_CTRL_L keydown $KEY_SHIFT_L sleep 0.02 key $KEY_S sleep 0.02 keyup $KEY_SHIFT_L keyup $KEY_CTRL_L
sleep 0.5
is_hidden "$MAIN_WIN" || fail "the standard chord still brings up the bar"
logged down 53 || fail "the standard chord's S did not reach the program in front"
pass "the standard chord belongs to the program in front again"

# A value that is no chord: the standard chord holds, a balloon says why, the line stays.
sed -i 's/^Tastenkuerzel = .*\r$/Tastenkuerzel = Umschalt+K\r/' "$SETTINGS_FILE"
to_logger
xdotool keydown $KEY_CTRL_L keydown $KEY_ALT_L sleep 0.02 key $KEY_K sleep 0.02 keyup $KEY_ALT_L keyup $KEY_CTRL_L
wait_until 3 is_viewable "$MAIN_WIN" || fail "the chord in force did not bring up the bar"
wait_until 5 balloon_shown || fail "no balloon tells of the bad chord"
hide_bar
show_bar >/dev/null
pass "a bad chord is told in a balloon and the standard chord holds"
quit_by_button
grep -q $'^Tastenkuerzel = Umschalt+K\r$' "$SETTINGS_FILE" || fail "the bad line lost its bytes"
pass "the bad line stays in the file"
