#!/usr/bin/env bash
# Searches as a user makes them: the URL that reaches the browser, the bar
# hiding, the placeholder, the guards, the site picker and the encoding; a
# stored site that was renamed or is no longer offered.
. "$(dirname "$0")/lib.sh"

# google.de's address, before and after the term.
GOOGLE="https://www.google.de/search?q="
GOOGLE_END="&hl=de"

fresh_user
seed_settings
# A key for the umlaut, in the keymap before Wine starts.
xmodmap -e 'keycode 93 = udiaeresis Udiaeresis'
start_tellurix

# Types into the bar and presses Return; waits for the bar to hide.
search_for() {
    xdotool type --delay 30 -- "$1"
    local before
    before=$(url_count)
    local start
    start=$(now_ms)
    xdotool key Return
    wait_until 10 bash -c "[ \$(wc -l <'$TELLURIX_URL_LOG') -gt $before ]" || fail "no URL reached the browser for '$1'"
    SEARCH_MS=$(($(now_ms) - start))
    wait_until 5 is_hidden "$MAIN_WIN" || fail "the bar stayed visible after the search"
}
last_url() { recorded_urls | tail -n 1; }

show_bar >/dev/null
search_for abc
expect_eq "$(last_url)" "${GOOGLE}abc${GOOGLE_END}" "Return searches the default site"
log "Return to URL at the handler: ${SEARCH_MS} ms"

# The field is back to its placeholder, which clears when the bar is shown
# again (the focus returns to the field): the next term is the term alone.
show_bar >/dev/null
search_for xyz
expect_eq "$(last_url)" "${GOOGLE}xyz${GOOGLE_END}" "the next search has no placeholder left in the term"

# Return with nothing typed starts nothing and keeps the bar.
show_bar >/dev/null
count=$(url_count)
xdotool key Return
sleep 1
expect_eq "$(url_count)" "$count" "an empty field starts no search"
is_viewable "$MAIN_WIN" || fail "the bar hid on an empty search"

# Every byte that could change the meaning of the URL is encoded as UTF-8.
search_for 'C# "AT&T" 100% ü+?/'
expect_eq "$(last_url)" "${GOOGLE}C%23%20%22AT%26T%22%20100%25%20%C3%BC%2B%3F%2F${GOOGLE_END}" \
    "the term is percent-encoded as UTF-8"

# The picker opens under the label; Down picks a site, the next search goes there.
show_bar >/dev/null
read -r mx my _ _ < <(geometry "$MAIN_WIN")
click_control 1
picker_window() {
    xdotool search --onlyvisible --class 'tellurix' 2>/dev/null | while read -r id; do
        [ "$id" = "$MAIN_WIN" ] && continue
        [ "$id" = "$KEY_TARGET_WIN" ] && continue
        xwininfo -id "$id" | grep -q 'Map State: IsViewable' && echo "$id"
    done | head -n 1
}
has_picker() { [ -n "$(picker_window)" ]; }
wait_until 5 has_picker || true
picker=$(picker_window)
[ -n "$picker" ] || fail "a click on the label opened no picker"
read -r px py pw ph < <(geometry "$picker")
log "picker at $px,$py ${pw}x${ph}; bar at $mx,$my"
[ "$py" -ge $((my + 25)) ] && [ "$py" -le $((my + 45)) ] || fail "the picker is not under the label (y $py, bar $my)"
[ "$px" -ge $((mx - 5)) ] && [ "$px" -le $((mx + 20)) ] || fail "the picker is not under the label (x $px, bar $mx)"
pass "the label opens the picker under it"
xdotool key Down
wait_until 5 bash -c "! xwininfo -id $picker 2>/dev/null | grep -q IsViewable" || fail "picking did not close the picker"
pass "the first selection change picks and closes the picker"
show_bar >/dev/null
search_for abc
url=$(last_url)
case $url in
    "${GOOGLE}abc${GOOGLE_END}") fail "the search still went to the default site" ;;
    http*abc*) pass "the picked site gets the next search ($url)" ;;
    *) fail "unexpected URL after picking: $url" ;;
esac
PICKED_URL=$url

quit_by_button
grep -q '^Suchseite = google.de' "$SETTINGS_FILE" && fail "the picked site was not saved"
pass "the picked site is saved at quit"

# After a restart the same site searches.
start_tellurix
show_bar >/dev/null
search_for abc
expect_eq "$(last_url)" "$PICKED_URL" "the picked site survives a restart"
quit_by_button

# A label that names no site (hand-edited) starts nothing: no program, no URL,
# the bar and the term stay.
seed_settings 203 'C:\windows\system32\notepad.exe'
start_tellurix
show_bar >/dev/null
count=$(url_count)
xdotool type --delay 30 abc
xdotool key Return
sleep 1
expect_eq "$(url_count)" "$count" "an unknown label starts no search"
is_viewable "$MAIN_WIN" || fail "the bar hid for an unknown label"
pgrep -f -i 'notepad' >/dev/null && fail "a program was started for the label"
pass "no program is started for an unknown label"
quit_by_button

# A stored site no longer offered: the bar shows and searches google.de, a
# balloon from the tray icon says so, and the next quit writes google.de.
seed_settings 203 gulli.com
no_balloon() { ! balloon_shown; }
wait_until 10 no_balloon || fail "a balloon of before is still there"
start_tellurix
wait_until 10 balloon_shown || fail "no balloon tells that gulli.com is no longer offered"
pass "a balloon tells of the site no longer offered"
show_bar >/dev/null
search_for abc
expect_eq "$(last_url)" "${GOOGLE}abc${GOOGLE_END}" "a stored site no longer offered searches google.de"
quit_by_button
grep -q '^Suchseite = google.de' "$SETTINGS_FILE" || fail "quit did not write google.de: $(cat "$SETTINGS_FILE")"
pass "the next quit writes google.de"

# A stored label that was renamed searches its site and is written under the new label.
seed_settings 203 tecchannel.de
start_tellurix
show_bar >/dev/null
search_for abc
expect_eq "$(last_url)" "https://sedo.com/search/?keyword=abc" "the renamed label searches its site"
quit_by_button
grep -q '^Suchseite = sedo.com' "$SETTINGS_FILE" || fail "quit did not write the new label: $(cat "$SETTINGS_FILE")"
pass "the new label is in the file after quit"
