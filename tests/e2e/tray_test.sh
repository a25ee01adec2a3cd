#!/usr/bin/env bash
# The tray icon and its menu, Escape, a balloon tip over an image button and
# the information box, as the user meets them.
. "$(dirname "$0")/lib.sh"

TRAY_ICON_X=13
TRAY_ICON_Y=32

tray_visible() { [ -n "$(xdotool search --onlyvisible --name '^Wine System Tray$' 2>/dev/null)" ]; }
click_tray() {
    xdotool mousemove "$TRAY_ICON_X" "$TRAY_ICON_Y"
    sleep 0.2
    xdotool click "$1"
}

# The popup menu: an override-redirect window about 100 px wide near the icon.
menu_window() {
    local id
    for id in $(xwininfo -root -children 2>/dev/null | awk '/^ +0x/ {print $1}'); do
        local info
        info=$(xwininfo -id "$id" 2>/dev/null) || continue
        grep -q 'Map State: IsViewable' <<<"$info" || continue
        grep -q 'Override Redirect State: yes' <<<"$info" || continue
        local w
        w=$(awk '/^ *Width:/ {print $NF}' <<<"$info")
        [ "$w" -ge 80 ] && [ "$w" -le 200 ] && { echo "$id"; return 0; }
    done
    return 1
}
has_menu() { menu_window >/dev/null; }
no_menu() { ! has_menu; }

# choose ITEM (1 Anzeigen, 2 Verstecken, 3 Beenden) from the tray menu.
choose() {
    click_tray 3
    wait_until 5 has_menu || fail "a right press on the tray icon opened no menu"
    sleep 0.7
    local x y w h
    read -r x y w h < <(geometry "$(menu_window)")
    click_at $((x + w / 2)) $((y + 3 + (2 * $1 - 1) * 9))
    wait_until 5 no_menu || fail "the menu stayed open"
}

fresh_user
start_tellurix
dismiss "Erster Start"
wait_until 10 tray_visible || fail "no tray icon"
pass "the tray icon is there"

click_tray 1
wait_until 5 is_viewable "$MAIN_WIN" || fail "a left press on the tray icon did not show the bar"
pass "a left press on the tray icon shows the bar"

# Escape hides the active bar, as its close box does.
wait_until 5 is_active "$MAIN_WIN" || fail "the bar is not active after the tray press"
xdotool key Escape
wait_until 5 is_hidden "$MAIN_WIN" || fail "Escape did not hide the bar"
pass "Escape hides the bar"

# A right press opens the menu; a click elsewhere closes it, nothing else happens.
click_tray 3
wait_until 5 has_menu || fail "a right press on the tray icon opened no menu"
sleep 0.7
screenshot
read -r mx my mw mh < <(geometry "$(menu_window)")
log "tray menu at $mx,$my ${mw}x${mh}"
[ "$mh" -ge 50 ] && [ "$mh" -le 90 ] || fail "the menu does not hold three items (height $mh)"
# The shaded column at the left edge of the menu: darker to the right.
left=$(pixel_of $((mx + 4)) $((my + 12)))
right=$(pixel_of $((mx + 22)) $((my + 12)))
[ "$left" != "$right" ] || fail "the menu's shaded column is missing ($left)"
pass "the menu is drawn with its shaded column ($left .. $right)"
click_at 700 700
wait_until 5 no_menu || fail "a click elsewhere did not close the menu"
sleep 0.3
is_hidden "$MAIN_WIN" || fail "closing the menu showed the bar"
pass "a click elsewhere closes the menu and changes nothing"

choose 1
wait_until 5 is_viewable "$MAIN_WIN" || fail "'Anzeigen' did not show the bar"
pass "'Anzeigen' shows the bar"
choose 2
wait_until 5 is_hidden "$MAIN_WIN" || fail "'Verstecken' did not hide the bar"
pass "'Verstecken' hides the bar"

# A balloon tip comes up over an image button when the pointer rests on it.
show_bar >/dev/null
tip_appears 6 || fail "no balloon tip over control 6"
pass "a balloon tip appears over the information button"

# The information box opens and closes, and the bar takes input again.
click_control 6
wait_until 5 has_visible "Informationen" || fail "control 6 opened no information box"
pass "'Informationen' opens"
dismiss "Informationen"
wait_until 5 is_active "$MAIN_WIN" || timeout 3 xdotool windowactivate --sync "$MAIN_WIN"
click_control 2
xdotool type --delay 20 abc
xdotool key Return
wait_until 10 grep -qE '=abc(&|$)' "$TELLURIX_URL_LOG" || fail "the bar took no input after the information box"
pass "the bar takes input again after the information box"

# "Beenden" from the menu saves and ends the program.
choose 3
wait_for_exit "$TX_PID" 15
expect_eq "$EXIT_CODE" 0 "'Beenden' from the tray menu ends with code 0"
grep -q '^FPS = 0' "$SETTINGS_FILE" || fail "'Beenden' from the tray did not save"
pass "'Beenden' from the tray saves"
wait_until 5 bash -c "! xdotool search --onlyvisible --name '^Wine System Tray\$' >/dev/null 2>&1" ||
    fail "the tray icon stayed after the end"
pass "the tray icon is removed at the end"
