#!/usr/bin/env bash
# Show/search/hide cycles as a user makes them, with the bar's process
# measured on the way:
#   - hotkey latency: left Ctrl + left Shift + S pressed (after a random pause,
#     so that the presses fall on every phase of the 100 ms poll) until the bar
#     is viewable;
#   - search latency: Return until the URL has reached the recording browser,
#     against the bare program handing the same URL to the shell: started anew
#     and calling at once every tenth cycle (from its call to the URL's
#     arrival), and running and calling on Return in its window, as the bar
#     does, every fifth cycle (from Return to the URL's arrival);
#   - memory: VmRSS after start-up and every 50 cycles, against the bare
#     program waiting beside it.
#   BENCH_CYCLES           cycles (default 200)
#   BENCH_HOTKEY_PRESSES   presses the hotkey figure is taken over (default 50,
#                          the first ones; all cycles are shown as well)
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"

CYCLES=${BENCH_CYCLES:-200}
PRESSES=${BENCH_HOTKEY_PRESSES:-50}
[ "$PRESSES" -le "$CYCLES" ] || PRESSES=$CYCLES
TERM_TYPED=bench
EXPECTED_URL="http://www.google.de/#hl=de&q=$TERM_TYPED"
KEY_CTRL_L=37 KEY_SHIFT_L=50 KEY_S=39 KEY_RETURN=36

# microseconds as milliseconds with three decimals
ms() { printf '%d.%03d\n' $(($1 / 1000)) $(($1 % 1000)); }

url_arrived() { [ -s "$URL_LOG" ]; }
last_url() {
    local line url=
    while IFS= read -r line; do url=${line%$'\r'}; done <"$URL_LOG"
    printf '%s' "$url"
}

# --- One cycle of the bar: sets HOTKEY_US and SEARCH_US; false on a failure.
# Presses Return in the active window and sets RETURN_US to the time until
# the URL reaches the recording browser (at most 10 s); checks the URL.
time_return_to_url() {
    local start
    : >"$URL_LOG"
    xdotool keydown $KEY_RETURN
    now_us
    start=$NOW
    until url_arrived; do
        now_us
        if [ $((NOW - start)) -gt 10000000 ]; then
            xdotool keyup $KEY_RETURN
            log "no URL reached the browser from $1"
            return 1
        fi
        nap 0.002
    done
    now_us
    RETURN_US=$((NOW - start))
    xdotool keyup $KEY_RETURN
    [ "$(last_url)" = "$EXPECTED_URL" ] || { log "unexpected URL from $1: $(last_url)"; return 1; }
}

cycle() {
    local start
    focus_key_target
    nap "0.$(printf '%03d' $((RANDOM % 100)))"
    xdotool keydown $KEY_CTRL_L keydown $KEY_SHIFT_L keydown $KEY_S
    now_us
    start=$NOW
    # Polled without a pause: one xwininfo takes about 2 ms.
    until is_viewable "$MAIN_WIN"; do
        now_us
        if [ $((NOW - start)) -gt 5000000 ]; then
            xdotool keyup $KEY_S keyup $KEY_SHIFT_L keyup $KEY_CTRL_L
            log "the hotkey did not show the bar"
            return 1
        fi
    done
    now_us
    HOTKEY_US=$((NOW - start))
    xdotool keyup $KEY_S keyup $KEY_SHIFT_L keyup $KEY_CTRL_L
    wait_until 5 is_active "$MAIN_WIN" || { log "the bar was shown but is not active"; return 1; }

    xdotool type --delay 8 "$TERM_TYPED"
    time_return_to_url "the bar" || return 1
    SEARCH_US=$RETURN_US
    wait_until 5 is_hidden "$MAIN_WIN" || { log "the bar stayed visible after the search"; return 1; }
}

# After a failed cycle: the bar hidden again and the keys up.
recover() {
    xdotool keyup $KEY_S keyup $KEY_SHIFT_L keyup $KEY_CTRL_L keyup $KEY_RETURN 2>/dev/null || true
    if is_viewable "$MAIN_WIN"; then
        timeout 3 xdotool windowactivate --sync "$MAIN_WIN" 2>/dev/null || true
        xdotool key --clearmodifiers alt+F4 2>/dev/null || true
        wait_until 5 is_hidden "$MAIN_WIN" || true
    fi
}

# --- The bare program hands the URL to the shell at once: sets BARE_US to the
# time from its call to the URL's arrival.
bare_search() {
    local pid called arrived time_file=$WORK_DIR/called.txt
    rm -f -- "$time_file"
    : >"$URL_LOG"
    start_program pid "$BARE_EXE" url "$EXPECTED_URL" "Z:${time_file//\//\\}"
    wait_until 20 url_arrived || { stop_program "$pid"; log "the bare program's URL did not arrive"; return 1; }
    now_us
    arrived=$NOW
    wait_until 10 test -s "$time_file" || { stop_program "$pid"; log "the bare program wrote no time"; return 1; }
    stop_program "$pid"
    read -r called <"$time_file"
    called=${called%$'\r'}
    [ "$(last_url)" = "$EXPECTED_URL" ] || { log "unexpected URL from the bare program: $(last_url)"; return 1; }
    BARE_US=$((arrived - called))
}

# The running bare program hands the URL over on Return in its window: sets
# BARE_RETURN_US to the time from Return to the URL's arrival.
BARE_RETURN_WIN=
bare_return_search() {
    if [ -z "$BARE_RETURN_WIN" ]; then
        local pid
        start_program pid "$BARE_EXE" return "$EXPECTED_URL"
        wait_until 20 has_visible 'Tellurix bare Return' || { log "the bare Return window did not appear"; return 1; }
        BARE_RETURN_WIN=$(find_visible 'Tellurix bare Return')
    fi
    timeout 3 xdotool windowactivate --sync "$BARE_RETURN_WIN" 2>/dev/null ||
        timeout 3 xdotool windowfocus --sync "$BARE_RETURN_WIN"
    time_return_to_url "the bare Return window" || return 1
    BARE_RETURN_US=$RETURN_US
}

sample_memory() {
    local label=$1 tx bare
    tx=$(rss_kb "$TX_PID")
    bare=$(rss_kb "$BARE_PID")
    printf '%s %s %s\n' "$label" "$tx" "$bare" >>"$WORK_DIR/memory"
    log "memory $label: Tellurix $tx KB, bare $bare KB"
}

: >"$WORK_DIR/hotkey"
: >"$WORK_DIR/search"
: >"$WORK_DIR/bare_search"
: >"$WORK_DIR/bare_return"
: >"$WORK_DIR/memory"

seed_settings
start_program BARE_PID "$BARE_EXE"
start_program TX_PID "$TELLURIX_EXE"
wait_until 20 has_window "$TITLE" || die "the main window did not appear"
MAIN_WIN=$(find_window "$TITLE")
wait_until 20 has_window 'Tellurix bare' || die "the bare program's window did not appear"
nap 2
sample_memory start

failures=0
log "cycles: $CYCLES"
for ((i = 1; i <= CYCLES; i++)); do
    if cycle; then
        ms "$HOTKEY_US" >>"$WORK_DIR/hotkey"
        ms "$SEARCH_US" >>"$WORK_DIR/search"
    else
        failures=$((failures + 1))
        [ "$failures" -le 5 ] || die "more than 5 cycles failed"
        recover
    fi
    if ((i % 10 == 0)) && bare_search; then
        ms "$BARE_US" >>"$WORK_DIR/bare_search"
    fi
    if ((i % 5 == 0)) && bare_return_search; then
        ms "$BARE_RETURN_US" >>"$WORK_DIR/bare_return"
    fi
    if ((i == 1 || i % 50 == 0 || i == CYCLES)); then sample_memory "after-$i"; fi
    if ((i % 25 == 0)); then log "cycle $i: last hotkey $(ms "$HOTKEY_US") ms, search $(ms "$SEARCH_US") ms"; fi
done
kill -0 "$TX_PID" 2>/dev/null || die "Tellurix ended during the cycles"

read -r _ tx_start bare_start < <(grep '^start ' "$WORK_DIR/memory")
read -r _ tx_first _ < <(grep '^after-1 ' "$WORK_DIR/memory")
read -r _ tx_end bare_end < <(tail -n 1 "$WORK_DIR/memory")
warm=$(awk '$1 == "after-50" { print $2 }' "$WORK_DIR/memory")
[ -n "$warm" ] || warm=$tx_first
kb_mb() { awk -v k="$1" 'BEGIN { printf "%+.2f MB", k / 1024 }'; }

report "memory (VmRSS, KB; Tellurix / bare):"
report "  $(awk '{ printf "%s %s/%s  ", $1, $2, $3 }' "$WORK_DIR/memory")"
above_start=$((tx_start - bare_start))
above_end=$((tx_end - bare_end))
report "  Tellurix above bare: $(kb_mb "$above_start") after start-up, $(kb_mb "$above_end") after $CYCLES cycles" \
    "(target <= +2 MB): $(verdict "$above_start <= 2048 && $above_end <= 2048")"
# A page or two comes and goes with the heap: up to 64 KB counts as none.
report "  growth: $(kb_mb $((tx_first - tx_start))) with the first cycle, $(kb_mb $((tx_end - warm))) from cycle" \
    "$([ "$warm" = "$tx_first" ] && echo 1 || echo 50) to the end (target: none, <= 64 KB):" \
    "$(verdict "$((tx_end - warm)) <= 64")"

head -n "$PRESSES" "$WORK_DIR/hotkey" >"$WORK_DIR/hotkey_first"
read -r _ _ _ _ p95 _ _ < <(stats <"$WORK_DIR/hotkey_first")
report "hotkey latency, keys down to the bar viewable (poll every 100 ms):"
report "  first $(wc -l <"$WORK_DIR/hotkey_first") presses: $(describe ms <"$WORK_DIR/hotkey_first")"
report "  p95 $p95 ms (target <= 110 ms): $(awk -v p="$p95" 'BEGIN { print (p <= 110 ? "met" : "missed") }')"
report "  all $(wc -l <"$WORK_DIR/hotkey") presses: $(describe ms <"$WORK_DIR/hotkey")"

tx_search=$(median_of <"$WORK_DIR/search")
bare_search_ms=$(median_of <"$WORK_DIR/bare_search")
bare_return_ms=$(median_of <"$WORK_DIR/bare_return")
report "search latency, until the URL is at the recording browser:"
report "  Tellurix, from Return                    $(describe ms <"$WORK_DIR/search")"
report "  bare started anew, from its call         $(describe ms <"$WORK_DIR/bare_search")"
report "  bare running, from Return in its window  $(describe ms <"$WORK_DIR/bare_return")"
report "  ratio of medians: $(ratio "$tx_search" "$bare_search_ms")x against the call at once," \
    "$(ratio "$tx_search" "$bare_return_ms")x against Return in the bare window"
[ "$failures" -eq 0 ] || report "  ($failures of $CYCLES cycles failed and were left out)"
