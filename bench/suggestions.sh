#!/usr/bin/env bash
# The list under the search field, with a history of 500 searches:
#   - a key to its character in the field, read from outside by a probe that
#     types as the keyboard does (bench/typing/type_probe.c), against the
#     program before the list came (BASELINE_EXE, when given), suggestions off;
#   - a key to the list on screen (earlier searches only): from before xdotool
#     presses "w" until the list's window is viewable, and the program's own
#     part from its trace ("typed" to "list shown");
#   - an answer of a local source that answers at once, from its arrival in
#     the program (the "answer" mark) to its rows on screen.
#   BENCH_TYPING_ROUNDS   probe rounds of "w" and Backspace (default 40)
#   BENCH_LIST_PRESSES    presses for each of the list's figures (default 40)
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"

ROUNDS=${BENCH_TYPING_ROUNDS:-40}
PRESSES=${BENCH_LIST_PRESSES:-40}
TRACE=$WORK_DIR/trace.txt
KEY_CTRL_L=37 KEY_SHIFT_L=50 KEY_S=39
ms() { printf '%d.%03d\n' $(($1 / 1000)) $(($1 % 1000)); }

# 500 earlier searches; 48 of them begin with "w", none with "z".
seed_history() {
    local i
    for ((i = 500; i > 0; i--)); do
        if ((i % 10 == 0)); then printf 'wort %03d\r\n' "$i"; else printf 'suche %03d\r\n' "$i"; fi
    done >"$SETTINGS_DIR/Verlauf.txt"
    printf '[Verlauf]\r\nAnzahl = 500\r\n' >>"$SETTINGS_FILE"
}

# start_bar EXE [SETTINGS...]: starts the program with the history and brings
# up its bar with the keyboard in the field. Sets PROGRAM_PID and BAR_WIN. With
# TRACED=0 the program writes no trace (a mark for every key would be timed).
start_bar() {
    local exe=$1 trace=
    shift
    fresh_user
    seed_settings
    seed_history
    [ $# -eq 0 ] || printf '%s\r\n' "$@" >>"$SETTINGS_FILE"
    : >"$TRACE"
    LIST_WIN=
    [ "${TRACED:-1}" = 0 ] || trace="Z:${TRACE//\//\\}"
    TELLURIX_TRACE=$trace start_program PROGRAM_PID "$exe"
    wait_until 20 has_window "$TITLE" || die "the main window did not appear"
    BAR_WIN=$(find_window "$TITLE")
    nap 1
    focus_key_target
    xdotool keydown $KEY_CTRL_L keydown $KEY_SHIFT_L keydown $KEY_S
    wait_until 5 is_viewable "$BAR_WIN" || die "the hotkey did not show the bar"
    xdotool keyup $KEY_S keyup $KEY_SHIFT_L keyup $KEY_CTRL_L
    wait_until 5 is_active "$BAR_WIN" || die "the bar is not active"
    nap 0.3
}

# Microseconds per key from the probe, into FILE.
probe_typing() {
    wine "$TYPE_PROBE_EXE" "$TITLE" "$ROUNDS" "Z:${1//\//\\}" </dev/null >/dev/null 2>&1 ||
        die "the typing probe failed"
    tr -d '\r' <"$1" | grep -v '^-1$' | while read -r us; do ms "$us"; done >"$1.ms"
    [ -s "$1.ms" ] || die "the typing probe measured nothing"
}

# The list: a visible window of the program's as wide as the field, 200 pixels.
# The program keeps it once made: found once, then only its state is asked.
LIST_WIN=
list_win() {
    local id
    for id in $(xdotool search --all --onlyvisible --pid "$PROGRAM_PID" 2>/dev/null); do
        [ "$id" = "$BAR_WIN" ] && continue
        [[ $(xwininfo -id "$id" 2>/dev/null) == *"Width: 200"* ]] && { echo "$id"; return 0; }
    done
    return 1
}
list_shown() {
    if [ -n "$LIST_WIN" ]; then is_viewable "$LIST_WIN"; else LIST_WIN=$(list_win); fi
}
list_hidden() { [ -n "$LIST_WIN" ] && is_hidden "$LIST_WIN"; }

# time_list KEYS FILE [MARK]: types KEYS (the last one timed) and waits for the
# list on screen; appends the microseconds from before xdotool presses the last
# key (or, with MARK, from the program's last MARK after it) to FILE. Backspace
# closes the list again.
time_list() {
    local start end mark keys=$1 last=${1: -1}
    [ ${#keys} -le 1 ] || { xdotool type "${keys%?}"; nap 0.05; }
    now_us
    start=$NOW
    xdotool keydown --delay 0 "$last"
    wait_until 5 list_shown || { log "no list after '$1'"; xdotool keyup "$last" key BackSpace BackSpace; return 1; }
    now_us
    end=$NOW
    xdotool keyup "$last"
    if [ -n "${3:-}" ]; then
        mark=$(awk -v s="$start" -v m="$3" '$1 >= s && $3 == m { t = $1 } END { printf "%.0f", t }' "$TRACE")
        [ "$mark" -gt 0 ] && ms $((end - mark)) >>"$2"
    else
        ms $((end - start)) >>"$2"
    fi
    for ((k = 0; k < ${#keys}; k++)); do xdotool key BackSpace; done
    wait_until 5 list_hidden || die "Backspace did not close the list"
    nap 0.2
}

# The program's own part of each list: from "typed" to "list shown".
own_part() {
    awk '$3 == "typed" { t = $1 } $3 == "list" && t { printf "%d.%03d\n", ($1 - t) / 1000, ($1 - t) % 1000; t = 0 }' \
        "$TRACE"
}

report "suggestions (history of 500 searches):"
# Both programs untraced, each its own process with the same history.
if [ -n "${BASELINE_EXE:-}" ]; then
    TRACED=0 start_bar "$BASELINE_EXE"
    probe_typing "$WORK_DIR/typing-baseline"
    stop_program "$PROGRAM_PID"
fi
TRACED=0 start_bar "$TELLURIX_EXE"
probe_typing "$WORK_DIR/typing"
stop_program "$PROGRAM_PID"
report "  a key to its character in the field (untraced): $(describe ms <"$WORK_DIR/typing.ms")"
if [ -n "${BASELINE_EXE:-}" ]; then
    before=$(median_of <"$WORK_DIR/typing-baseline.ms")
    after=$(median_of <"$WORK_DIR/typing.ms")
    report "    the program before the list: $(describe ms <"$WORK_DIR/typing-baseline.ms")"
    report "    ratio of medians $(ratio "$after" "$before")x (target <= 1.1x): $(verdict "$after <= 1.1 * $before")"
fi
: >"$WORK_DIR/list"
start_bar "$TELLURIX_EXE"
for ((i = 0; i < PRESSES; i++)); do time_list w "$WORK_DIR/list" || true; done
read -r _ _ _ _ p95 _ _ < <(stats <"$WORK_DIR/list")
report "  a key to the list on screen (earlier searches): $(describe ms <"$WORK_DIR/list")"
report "    p95 $p95 ms (target <= 30 ms): $(verdict "$p95 <= 30")"
report "    of that, in the program from the change of text to the list shown: $(own_part | describe ms)"
stop_program "$PROGRAM_PID"

python3 "$REPO_DIR/tests/e2e/suggest_server.py" "$WORK_DIR/port" --row "zebra" --row "zeppelin" --row "zucker" \
    --lifetime 600 &
STARTED_PIDS+=("$!")
wait_until 10 test -s "$WORK_DIR/port" || die "the suggestion server did not start"
start_bar "$TELLURIX_EXE" '[Vorschlaege]' 'Aktiv = 1' "Quelle = http://127.0.0.1:$(cat "$WORK_DIR/port")/rows?q=%s"
: >"$WORK_DIR/answer"
# A term of its own each time: an answer the rules have already is not asked again.
letters=bcdfghjklmnpqrtvxyz
for ((i = 0; i < PRESSES; i++)); do
    time_list "${letters:i % 19:1}${letters:i / 19 % 19:1}" "$WORK_DIR/answer" answer || true
done
read -r _ _ _ _ p95 _ _ < <(stats <"$WORK_DIR/answer")
report "  an answer's arrival to its rows on screen: $(describe ms <"$WORK_DIR/answer")"
report "    p95 $p95 ms (target <= 50 ms): $(verdict "$p95 <= 50")"
stop_program "$PROGRAM_PID"
cp -- "$TRACE" "$BENCH_OUT/suggestions-trace.txt"
