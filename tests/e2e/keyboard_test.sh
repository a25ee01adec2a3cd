#!/usr/bin/env bash
# The bar from the keyboard alone: the site list with Alt+Down, and the search
# history with Up and Down, kept in Verlauf.txt across restarts and kills.
. "$(dirname "$0")/lib.sh"

KEY_ALT_L=64 KEY_UP=111 KEY_DELETE=119
HISTORY_FILE=$SETTINGS_DIR/Verlauf.txt
GUTEFRAGE="https://www.gutefrage.net/search?query="

chord() { xdotool keydown "$@"; sleep 0.1; for code in "$@"; do xdotool keyup "$code"; done; sleep 0.2; }
key() { for code in "$@"; do xdotool key "$code"; sleep 0.15; done; }
last_url() { recorded_urls | tail -n 1; }
# Return in the bar; waits for the URL.
search_now() {
    local before
    before=$(url_count)
    key $KEY_RETURN
    wait_until 10 bash -c "[ \$(wc -l <'$TELLURIX_URL_LOG') -gt $before ]" || fail "no URL reached the browser"
}
search_for() { show_bar >/dev/null; xdotool type --delay 30 -- "$1"; search_now; }
picker_open() { xdotool search --onlyvisible --class 'tellurix' 2>/dev/null | grep -v -x -e "$MAIN_WIN" -e "$KEY_TARGET_WIN" | grep -q .; }

fresh_user
seed_settings
start_tellurix

# Alt+Down opens the list on the current site; Down Down Return picks the second
# site after it; the typed text waits in the field for Return.
show_bar >/dev/null
xdotool type --delay 30 Suchtext
chord $KEY_ALT_L $KEY_DOWN
wait_until 5 picker_open || fail "Alt+Down opened no site list"
key $KEY_DOWN $KEY_DOWN
picker_open || fail "moving in the list picked a site"
key $KEY_RETURN
wait_until 5 bash -c "! { xdotool search --onlyvisible --class tellurix | grep -v -x -e $MAIN_WIN -e $KEY_TARGET_WIN | grep -q .; }" ||
    fail "Return did not close the list"
search_now
expect_eq "$(last_url)" "${GUTEFRAGE}Suchtext" "Down Down Return picks the second site after the current one, the text stays"

# Escape closes the list and keeps the site.
show_bar >/dev/null
xdotool type --delay 30 weiter
chord $KEY_ALT_L $KEY_DOWN
wait_until 5 picker_open || fail "Alt+Down opened no site list"
key $KEY_DOWN Escape
search_now
expect_eq "$(last_url)" "${GUTEFRAGE}weiter" "Escape keeps the site"

# Three searches; Up Up shows the second newest, Return searches it again.
search_for eins
search_for zwei
search_for drei
show_bar >/dev/null
key $KEY_UP $KEY_UP
search_now
expect_eq "$(last_url)" "${GUTEFRAGE}zwei" "Up Up Return searches the second newest term again"
expect_eq "$(tr -d '\r' <"$HISTORY_FILE" | head -n 3 | tr '\n' ' ')" "zwei drei eins " "the history file, newest first"

# The history survives quit and restart.
quit_by_button
start_tellurix
show_bar >/dev/null
key $KEY_UP
search_now
expect_eq "$(last_url)" "${GUTEFRAGE}zwei" "the history survives a restart"

# Ctrl+Shift+Delete asks; yes (the default button) clears file and memory.
show_bar >/dev/null
chord $KEY_CTRL_L $KEY_SHIFT_L $KEY_DELETE
dismiss "Suchverlauf"
[ -e "$HISTORY_FILE" ] && fail "the history file is still there"
show_bar >/dev/null
key $KEY_UP
count=$(url_count)
key $KEY_RETURN
sleep 1
expect_eq "$(url_count)" "$count" "after clearing, Up recalls nothing"
pass "Ctrl+Shift+Delete answered with yes clears the history"

# A kill in the middle of many searches leaves a readable history.
for term in $(seq 1 12); do
    show_bar >/dev/null
    xdotool type --delay 10 "k$term"
    xdotool key $KEY_RETURN
    [ "$term" -eq 9 ] && { sleep 0.05; kill -9 "$TX_PID"; break; }
    sleep 0.3
done
wait_for_exit "$TX_PID" 10
[ -s "$HISTORY_FILE" ] || fail "no history after the kill"
tr -d '\r' <"$HISTORY_FILE" | grep -v -x -E 'k[0-9]+|zwei' && fail "a broken line in the history after the kill"
[ "$(tail -c 2 "$HISTORY_FILE" | od -An -c | tr -d ' ')" = '\r\n' ] || fail "the history file ends in the middle of a line"
pass "a killed program leaves a readable history ($(wc -l <"$HISTORY_FILE") entries)"
