#!/usr/bin/env bash
# The list under the search field as a user meets it: earlier searches as one
# types, Down Down Return; and with web suggestions switched on, a local
# source's rows after them, a source that answers too late and one that
# answers garbage (the bar stays as quick, Return searches what was typed); a
# source that redirects within itself and one that redirects to another
# address (never followed, nothing sent there), and one that drips its answer
# in (its worker gone soon after the deadline, read from the program's trace).
. "$(dirname "$0")/lib.sh"

SERVER_PID=
stop_server() { [ -z "$SERVER_PID" ] || kill "$SERVER_PID" 2>/dev/null || true; }
trap 'stop_server; cleanup' EXIT
python3 "$E2E_DIR/suggest_server.py" "$WORK_DIR/port" --term wet --term regen --term sonne --term schnee \
    --term nebel --row "wetter heute" --row "wetterdienst" --log "$WORK_DIR/asked.log" --elsewhere-log "$WORK_DIR/elsewhere.log" --lifetime 240 &
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

# The program's trace: "<microseconds> <KB> <step>" a line.
TRACE=$WORK_DIR/trace.log
export TELLURIX_TRACE="Z:${TRACE//\//\\}"
trace_lines() { wc -l <"$TRACE"; }
# marks_since LINE PATTERN COUNT: at least COUNT steps matching PATTERN were
# marked after line LINE.
marks_since() { [ "$(tail -n +"$(($1 + 1))" "$TRACE" | cut -d ' ' -f 3- | grep -c "$2")" -ge "$3" ]; }
# requests_since LINE: the numbers of the web requests started after line LINE.
requests_since() { tail -n +"$(($1 + 1))" "$TRACE" | awk '$3 == "http" && $5 == "starts" { print $4 }'; }
# mark_ms REQUEST WHAT: when the step "http REQUEST WHAT" was marked, in ms.
mark_ms() { awk -v step=" http $1 $2" 'index($0, step) { print substr($1, 1, length($1) - 3); exit }' "$TRACE"; }

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
# A redirect within the source is followed. One to 127.0.0.2 (the same port)
# or to another port is not: no web rows, and nothing reaches that address.
# (No earlier search begins with these terms; the source has rows for each.)
use_source redirect/same
show_bar >/dev/null
xdotool type --delay 40 regen
wait_until 5 list_rows_are 2 || fail "a redirect within the source brought no rows (list height $(list_height))"
pass "a redirect within the source is followed"
search_and_wait
for where in host:sonne port:schnee; do
    use_source "redirect/${where%:*}"
    show_bar >/dev/null
    lines=$(trace_lines)
    xdotool type --delay 40 "${where#*:}"
    wait_until 5 marks_since "$lines" '^answer' 1 || fail "no answer came from a source redirecting to another $where"
    no_list || fail "a redirect to another ${where%:*} gave rows (list height $(list_height))"
    [ ! -s "$WORK_DIR/elsewhere.log" ] || fail "requests reached another address: $(cat "$WORK_DIR/elsewhere.log")"
    pass "a redirect to another ${where%:*} is not followed, nothing is sent there"
    search_and_wait
done

# A source that drips its answer in, a byte a second. The request for "nebe",
# called off by the next letter, ends before its deadline; the one for
# "nebel" ends at its deadline (1.5 s after its start), and its worker is gone
# within 2 s of it. No web rows.
use_source drip
show_bar >/dev/null
lines=$(trace_lines)
xdotool type --delay 40 nebe
wait_until 3 marks_since "$lines" '^http [0-9]* starts' 1 || fail "the dripping source was not asked for 'nebe'"
sleep 0.3
asked=$(requests_since "$lines" | wc -l)
xdotool type l
wait_until 3 marks_since "$lines" '^http [0-9]* starts' $((asked + 1)) ||
    fail "the dripping source was not asked for 'nebel'"
called_off=$(requests_since "$lines" | tail -n 2 | head -n 1)
timed_out=$(requests_since "$lines" | tail -n 1)
wait_until 6 grep -q " http $timed_out worker ends" "$TRACE" ||
    fail "the worker of the dripping answer did not end: $(grep ' http ' "$TRACE" | tail -n 4)"
[ -n "$(mark_ms "$called_off" "worker ends")" ] || fail "the worker of the request called off did not end"
took=$(($(mark_ms "$called_off" "worker ends") - $(mark_ms "$called_off" starts)))
[ "$took" -lt 1500 ] || fail "the worker of a request called off took $took ms, as long as the deadline"
pass "the worker of a request called off ended $took ms after its start"
after=$(($(mark_ms "$timed_out" "worker ends") - $(mark_ms "$timed_out" starts) - 1500))
[ "$after" -le 2000 ] || fail "the worker of a dripping answer ended $after ms after its deadline"
pass "the worker of a dripping answer ended $after ms after its deadline"
no_list || fail "the dripping source gave rows (list height $(list_height))"
search_and_wait

# No earlier search begins with "wetterd": only the source could offer a row.
show_bar >/dev/null
xdotool type --delay 40 wetterd
sleep 1
no_list || fail "garbage from the source gave rows (list height $(list_height))"
grep -qx wetterd "$WORK_DIR/asked.log" || fail "the garbage source was not asked"
pass "garbage from the source gives no rows"
quit_by_button
