#!/usr/bin/env bash
# What the user wrote is never lost: a settings file another program holds
# is not written over (at a quit that found it readable the user is asked),
# and is read at the next bring-up once it is free; a file saved by Notepad as
# "Unicode" (UTF-16 LE) works and stays UTF-16 LE with its mark.
. "$(dirname "$0")/lib.sh"

: "${TELLURIX_FILE_HOLDER:?}"
RELEASE=$WORK_DIR/release HELD=$WORK_DIR/held
# hold_settings: another program opens the settings file without sharing it.
hold_settings() {
    rm -f -- "$RELEASE" "$HELD"
    wine "$TELLURIX_FILE_HOLDER" "$(winepath -w "$SETTINGS_FILE")" "$(winepath -w "$RELEASE")" \
        "$(winepath -w "$HELD")" </dev/null >/dev/null 2>&1 &
    HOLDER_PID=$!
    STARTED_PIDS+=("$HOLDER_PID")
    wait_until 20 test -e "$HELD" || fail "the other program did not get hold of the file"
}
let_go() {
    : >"$RELEASE"
    wait_for_exit "$HOLDER_PID" 10
    expect_eq "$EXIT_CODE" 0 "the other program held the file and let go"
}
search_for() {
    show_bar >/dev/null
    xdotool type --delay 30 "$1"
    xdotool key Return
    wait_until 10 grep -q "$1" "$TELLURIX_URL_LOG" || fail "no search for '$1': $(recorded_urls)"
}
OWN='[Einstellungen]\r\nFPS = 0\r\nDesign = 207\r\nSuchseite = LEO\r\n[Eigene Suchseiten]\r\nLEO = https://dict.leo.org/englisch-deutsch/%%s\r\n'

# Held from before the start to after the quit: nothing is written, the user
# learns why, and no first-start notice pretends the file were new.
fresh_user
mkdir -p "$SETTINGS_DIR"
printf "$OWN" >"$SETTINGS_FILE"
before=$(md5sum <"$SETTINGS_FILE")
hold_settings
start_tellurix
wait_until 10 balloon_shown || fail "no balloon about the unreadable file"
pass "a held settings file is told with a balloon"
has_visible "Erster Start" && fail "the first-start notice came for a held file"
pick_first_site_by_mouse
quit_by_button
expect_eq "$(md5sum <"$SETTINGS_FILE")" "$before" "a quit leaves a held file as it was"

# Let go while the program runs: the next bring-up reads it, and the own site
# chosen in it searches.
start_tellurix
let_go
search_for Haus
grep -q 'dict.leo.org/englisch-deutsch/Haus' "$TELLURIX_URL_LOG" || fail "the own site did not search: $(recorded_urls)"
pass "once free, the file is read at the next bring-up and its own site searches"
quit_by_button
expect_eq "$(md5sum <"$SETTINGS_FILE")" "$before" "a quit that changes nothing writes nothing"

# Held only while quitting after a change: the user is asked, the file stays.
start_tellurix
pick_first_site_by_mouse
hold_settings
click_control 7
dismiss "Einstellungen"
wait_for_exit "$TX_PID" 15
expect_eq "$EXIT_CODE" 0 "quit ends with code 0 after the question"
let_go
expect_eq "$(md5sum <"$SETTINGS_FILE")" "$before" "a file held at quit keeps its bytes"
start_tellurix
search_for Baum
grep -q 'dict.leo.org/englisch-deutsch/Baum' "$TELLURIX_URL_LOG" || fail "the own site was lost: $(recorded_urls)"
pass "after the other program let go, the own site is there"
quit_by_button

# Notepad's "Unicode": UTF-16 LE with its mark.
fresh_user
mkdir -p "$SETTINGS_DIR"
{ printf '\xff\xfe'; printf "$OWN" | iconv -f UTF-8 -t UTF-16LE; } >"$SETTINGS_FILE"
start_tellurix
has_visible "Erster Start" && fail "a UTF-16 file was taken for a first start"
search_for Tisch
grep -q 'dict.leo.org/englisch-deutsch/Tisch' "$TELLURIX_URL_LOG" || fail "the UTF-16 own site did not search: $(recorded_urls)"
pass "an own site in a UTF-16 LE file searches"
pick_first_site_by_mouse
quit_by_button
expect_eq "$(head -c 2 "$SETTINGS_FILE" | od -An -tx1 | tr -d ' ')" "fffe" "the file keeps its UTF-16 LE mark"
text=$(tail -c +3 "$SETTINGS_FILE" | iconv -f UTF-16LE -t UTF-8 | tr -d '\r')
grep -qx 'LEO = https://dict.leo.org/englisch-deutsch/%s' <<<"$text" || fail "the own-site line was damaged: $text"
grep -q '^Suchseite = ' <<<"$text" && ! grep -qx 'Suchseite = LEO' <<<"$text" ||
    fail "the site picked was not saved: $text"
pass "a UTF-16 LE file is saved as UTF-16 LE with its own-site line intact"
