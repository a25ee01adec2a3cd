#!/usr/bin/env bash
# The settings file as the user's machine sees it: created on the first start
# with the notice, saved at quit and at the end of the session, never damaged,
# hand edits kept, a read-only file left alone, a file of garbage survived.
. "$(dirname "$0")/lib.sh"

file_bytes() { od -An -c "$SETTINGS_FILE" | tr -s ' \n' ' '; }
expect_file() {
    local expected
    expected=$(printf "$1" | od -An -c | tr -s ' \n' ' ')
    expect_eq "$(file_bytes)" "$expected" "$2"
}
no_notice_within() {
    sleep "$1"
    has_visible "Erster Start" && fail "the first-start notice came again"
    pass "no first-start notice"
}

# First start: both folders and the four-line file, the notice over a hidden bar.
fresh_user
start_tellurix
wait_until 10 has_visible "Erster Start" || fail "no first-start notice"
is_hidden "$MAIN_WIN" || fail "the bar is visible under the first-start notice"
pass "the first start shows 'Erster Start' with the bar hidden"
[ -d "$APPDATA_DIR/Brenmoor" ] && [ -d "$SETTINGS_DIR" ] || fail "the settings folders were not made"
expect_file '[Einstellungen]\r\nFPS = 1\r\nDesign = 203\r\nSuchseite = google.de\r\n' "the first start writes the default file"
dismiss "Erster Start"
quit_by_button
expect_file '[Einstellungen]\r\nFPS = 0\r\nDesign = 203\r\nSuchseite = google.de\r\n' "quit saves FPS = 0"
start_tellurix
no_notice_within 2
quit_by_button

# A killed process saves nothing: the notice comes again.
fresh_user
start_tellurix
dismiss "Erster Start"
kill -9 "$TX_PID"
wait_for_exit "$TX_PID" 10
expect_file '[Einstellungen]\r\nFPS = 1\r\nDesign = 203\r\nSuchseite = google.de\r\n' "a killed program saved nothing"
start_tellurix
wait_until 10 has_visible "Erster Start" || fail "no notice after a killed run"
pass "the notice comes again after a killed run"
# The bar is built once the notice is read: the hotkey pressed meanwhile shows
# it then, complete, with its tips and (below) its site list.
press_keys $KEY_CTRL_L $KEY_SHIFT_L $KEY_S
dismiss "Erster Start"
wait_until 5 is_viewable "$MAIN_WIN" || fail "the hotkey pressed during the notice did not show the bar after it"
pass "the hotkey pressed during the notice shows the bar once the notice is read"
tip_appears 6 || fail "no balloon tip on the first show after the notice"
pass "the first show after the notice has its balloon tips"

# The end of the session saves like quit: pick a site, then log off.
pick_first_site_by_mouse
timeout 60 wineboot --end-session </dev/null >/dev/null 2>&1 || true
wait_until 20 bash -c "! kill -0 $TX_PID 2>/dev/null" || kill -9 "$TX_PID"
# The end of the session ended Wine's desktop and tray too: start afresh.
tx_wine_stop
tx_wine_prefix_init "$WINEPREFIX"
grep -q 'FPS = 0' "$SETTINGS_FILE" || fail "the end of the session did not save: $(file_bytes)"
grep -q '^Suchseite = google.de' "$SETTINGS_FILE" && fail "the site picked before log-off was not saved"
pass "the end of the session saves the choices"

# A hand-edited file keeps its bytes while nothing changes; a change brings
# it back with everything it had, in the program's form.
fresh_user
mkdir -p "$SETTINGS_DIR"
HAND='\n[Fremd]\n  ;x\nwert = 1 \n\n[Einstellungen] alt\n; y\nfps=0\ndesign=205\nSuchseite = dict.cc  \n[Danach]\nDesign = 9\n'
printf "$HAND" >"$SETTINGS_FILE"
start_tellurix
no_notice_within 1
show_bar >/dev/null
xdotool type --delay 30 abc
xdotool key Return
wait_until 10 grep -q 'dict.cc' "$TELLURIX_URL_LOG" || fail "the hand-edited site was not used: $(recorded_urls)"
pass "the hand-edited site searches"
quit_by_button
expect_file "$HAND" "a quit that changes nothing leaves a hand-edited file as it was"
start_tellurix
pick_first_site_by_mouse
quit_by_button
expect_file '[Fremd]\r\n; x\r\nwert = 1 \r\n[Einstellungen]\r\n; y\r\nFPS = 0\r\nDesign = 205\r\nSuchseite = 4players.de\r\n[Danach]\r\nDesign = 9\r\n' \
    "a changed hand-edited file keeps its groups, keys and comments"

# A read-only file stays as it is: a quit after a change asks first, and
# "Ja" still ends with code 0.
seed_settings 207 dict.cc
chmod 444 "$SETTINGS_FILE"
before=$(md5sum <"$SETTINGS_FILE")
start_tellurix
pick_first_site_by_mouse
click_control 7
dismiss "Einstellungen"
wait_for_exit "$TX_PID" 15
expect_eq "$EXIT_CODE" 0 "quit ends with code 0 after the question"
expect_eq "$(md5sum <"$SETTINGS_FILE")" "$before" "a read-only file stays unchanged"
chmod 644 "$SETTINGS_FILE"
leftovers=$(find "$SETTINGS_DIR" -mindepth 1 ! -name Einstellungen.ini ! -name Verlauf.txt | wc -l)
expect_eq "$leftovers" 0 "no temporary file is left beside the settings"

# 10 MB of random bytes: the program starts, answers and quits. The time to
# the notice (shown once the file is read) is logged beside a fresh start's.
time_to_notice() {
    local start
    start=$(now_ms)
    start_tellurix
    wait_until 20 has_visible "Erster Start" || fail "no notice"
    NOTICE_MS=$(($(now_ms) - start))
}
fresh_user
time_to_notice
fresh_ms=$NOTICE_MS
kill -9 "$TX_PID"
wait_for_exit "$TX_PID" 10
fresh_user
mkdir -p "$SETTINGS_DIR"
head -c 10485760 /dev/urandom >"$SETTINGS_FILE"
time_to_notice
log "start to the first-start notice: ${fresh_ms} ms without a file, ${NOTICE_MS} ms with 10 MB of random bytes"
dismiss "Erster Start"
show_bar >/dev/null
quit_by_button
[ -s "$SETTINGS_FILE" ] || fail "the file was emptied"
pass "a 10 MB file of random bytes is survived"
