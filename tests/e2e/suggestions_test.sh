#!/usr/bin/env bash
# The list under the search field as a user meets it: earlier searches as one
# types, Down Down Return; and with web suggestions switched on, a local
# source's rows after them, a source that answers too late and one that
# answers garbage (the bar stays as quick, Return searches what was typed).
. "$(dirname "$0")/lib.sh"

SERVER_PID=
stop_server() { [ -z "$SERVER_PID" ] || kill "$SERVER_PID" 2>/dev/null || true; }
trap 'stop_server; cleanup' EXIT
python3 "$E2E_DIR/suggest_server.py" "$WORK_DIR/port" --term wet --row "wetter heute" --row "wetterdienst" \
    --log "$WORK_DIR/asked.log" --lifetime 240 &
SERVER_PID=$!
wait_until 10 test -s "$WORK_DIR/port" || fail "the suggestion server did not start"
PORT=$(cat "$WORK_DIR/port")

# The list: a visible window of the program's as wide as the search field (200
# pixels), not a balloon tip. Prints its height.
list_height() {
    local id w h
    for id in $(xdotool search --all --onlyvisible --pid "$TX_PID" 2>/dev/null); do
        [ "$id" = "$MAIN_WIN" ] && continue
        read -r _ _ w h < <(geometry "$id")
        [ "$w" = 200 ] || continue
        echo "$h"
        return 0
    done
    return 1
}
no_list() { ! list_height >/dev/null; }
# list_rows_are N: the list is open with N rows (each row as high as in the
# two-row list of the first step, plus the list's frame of 4 pixels).
list_rows_are() { [ "$(list_height)" = "$(($1 * (TWO_ROWS - 4) / 2 + 4))" ]; }
last_url() { recorded_urls | tail -n 1; }
search_and_wait() {
    local before
    before=$(url_count)
    xdotool key Return
    wait_until 10 bash -c "[ \$(wc -l <'$TELLURIX_URL_LOG') -gt $before ]" || fail "no URL reached the browser"
}
# use_source PATH: the settings file names the server's PATH as the source
# (read again when the bar comes up).
use_source() {
    sed -i '/^\[Vorschlaege\]/,$d' "$SETTINGS_FILE"
    printf '[Vorschlaege]\r\nAktiv = 1\r\nQuelle = http://127.0.0.1:%s/%s?q=%%s\r\n' "$PORT" "$1" >>"$SETTINGS_FILE"
}

xdotool mousemove 5 5
fresh_user
seed_settings
printf 'wetter morgen\r\nkarten\r\nWeg nach Hause\r\nbahn\r\nkino\r\n' >"$SETTINGS_DIR/Verlauf.txt"
start_tellurix

# Five earlier searches, two of them beginning with "we": two rows.
show_bar >/dev/null
xdotool type --delay 40 we
wait_until 3 list_height || fail "typing 'we' showed no list"
TWO_ROWS=$(list_height)
xdotool key Down Down
search_and_wait
expect_eq "$(last_url)" "https://www.google.de/search?q=Weg%20nach%20Hause&hl=de" \
    "Down Down Return searches the second earlier search"
wait_until 3 no_list || fail "the list stayed after the search"

# Web suggestions from the local source: its rows follow the earlier search.
use_source rows
show_bar >/dev/null
xdotool type --delay 40 wet
wait_until 5 list_rows_are 3 || fail "the source's rows did not join the earlier search (list height $(list_height))"
grep -qx wet "$WORK_DIR/asked.log" || fail "the source was not asked for 'wet': $(tr '\n' ' ' <"$WORK_DIR/asked.log")"
xdotool key Down Down
search_and_wait
expect_eq "$(last_url)" "https://www.google.de/search?q=wetter%20heute&hl=de" "Down to a web row and Return searches it"

# A keyword is never sent, only the term.
show_bar >/dev/null
xdotool type --delay 40 '!w wet'
sleep 1
grep -q '!w' "$WORK_DIR/asked.log" && fail "the keyword reached the source"
pass "only the term after a keyword goes to the source"
xdotool key Escape
wait_until 3 no_list || fail "Escape did not close the list"
is_viewable "$MAIN_WIN" || fail "the first Escape put the bar away"
xdotool key BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace Escape
wait_until 3 is_hidden "$MAIN_WIN" || fail "the second Escape did not put the bar away"
pass "the first Escape closes the list, the next one puts the bar away"

# A source that answers after 5 s, and one that answers garbage: no web rows,
# the typed text searched at once.
for source in slow/5 garbage; do
    use_source "$source"
    show_bar >/dev/null
    start=$(now_ms)
    xdotool type --delay 40 wet
    search_and_wait
    took=$(($(now_ms) - start))
    expect_eq "$(last_url)" "https://www.google.de/search?q=wet&hl=de" "with a $source source Return searches what was typed"
    [ "$took" -lt 3000 ] || fail "typing and Return took $took ms with a $source source"
    process_alive "$TX_PID" || fail "the program ended with a $source source"
done
# No earlier search begins with "wetterd": only the source could offer a row.
show_bar >/dev/null
xdotool type --delay 40 wetterd
sleep 1
no_list || fail "garbage from the source gave rows (list height $(list_height))"
grep -qx wetterd "$WORK_DIR/asked.log" || fail "the garbage source was not asked"
pass "garbage from the source gives no rows"
quit_by_button
