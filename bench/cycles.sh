#!/usr/bin/env bash
# Show/search/hide cycles as a user makes them, with the bar's process
# measured on the way:
#   - hotkey latency: left Ctrl + left Shift + S pressed (after a random pause)
#     until the bar is viewable; and from the keyboard hook's sighting of the
#     S (the "keys seen" mark in the program's trace) until then; and the
#     longest the hook's thread was busy with one key stroke ("hook busy");
#   - search latency: Return until the URL has reached the recording browser,
#     against the bare program handing the same URL to the shell: started anew
#     and calling at once every tenth cycle (from its call to the URL's
#     arrival), and running and calling on Return in its window, as the bar
#     does, every fifth cycle (from Return to the URL's arrival);
#   - memory: VmRSS after start-up and every 50 cycles, against the bare
#     program waiting beside it; for reference also the bare program with a
#     key-polling second thread, and the running bare program that makes the
#     same searches on Return; and the working set after each start-up step.
#   BENCH_CYCLES           cycles (default 200)
#   BENCH_HOTKEY_PRESSES   presses the hotkey figure is taken over (default 50,
#                          the first ones; all cycles are shown as well)
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"

CYCLES=${BENCH_CYCLES:-200}
PRESSES=${BENCH_HOTKEY_PRESSES:-50}
[ "$PRESSES" -le "$CYCLES" ] || PRESSES=$CYCLES
TERM_TYPED=bench
EXPECTED_URL="https://www.google.de/search?q=$TERM_TYPED&hl=de"
KEY_CTRL_L=37 KEY_SHIFT_L=50 KEY_S=39 KEY_RETURN=36

TRACE=$WORK_DIR/trace.txt
BARE_TRACE=$WORK_DIR/bare-trace.txt

# microseconds as milliseconds with three decimals
ms() { printf '%d.%03d\n' $(($1 / 1000)) $(($1 % 1000)); }

url_arrived() { [ -s "$URL_LOG" ]; }
last_url() {
    local line url=
    while IFS= read -r line; do url=${line%$'\r'}; done <"$URL_LOG"
    printf '%s' "$url"
}

# search_steps TRACE NAME: where the time of the last search went, from the
# marks of the program that made it (the last ones in its trace): from the
# key going down (before xdotool starts, which waits a while after the key) to
# the program taking Return, from there to the shell's call returning, and
# from there to the URL at the browser. Appended to $WORK_DIR/NAME.{taken,handed,arrived}.
search_steps() {
    local taken handed
    read -r taken handed < <(awk '$3 == "return" { taken = $1 } $3 == "search" { handed = $1 }
        END { printf "%.0f %.0f\n", taken, handed }' "$1")
    if [ "$taken" -gt "$RETURN_BEFORE" ] && [ "$handed" -ge "$taken" ]; then
        ms $((taken - RETURN_BEFORE)) >>"$WORK_DIR/$2.taken"
        ms $((handed - taken)) >>"$WORK_DIR/$2.handed"
        ms $((RETURN_END - handed)) >>"$WORK_DIR/$2.arrived"
    fi
}

# --- One cycle of the bar: sets HOTKEY_US and SEARCH_US; false on a failure.
# Presses Return in the active window and sets RETURN_US to the time until
# the URL reaches the recording browser (at most 10 s); checks the URL.
time_return_to_url() {
    local start
    : >"$URL_LOG"
    now_us
    RETURN_BEFORE=$NOW
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
    RETURN_END=$NOW
    RETURN_US=$((NOW - start))
    xdotool keyup $KEY_RETURN
    [ "$(last_url)" = "$EXPECTED_URL" ] || { log "unexpected URL from $1: $(last_url)"; return 1; }
}

cycle() {
    local start
    focus_key_target
    nap "0.$(printf '%03d' $((RANDOM % 100)))"
    # From before xdotool starts (it takes a few ms itself; no pause between
    # its keys); the time from after it returns, as earlier runs took it (they
    # pressed the keys 12 ms apart and timed from 12 ms after the S), goes
    # into AFTER_XDOTOOL_US.
    now_us
    start=$NOW
    xdotool keydown --delay 0 $KEY_CTRL_L $KEY_SHIFT_L $KEY_S
    now_us
    local returned=$NOW
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
    AFTER_XDOTOOL_US=$((NOW - returned))
    SEEN_US=
    SHOWN_US=
    local visible=$NOW seen shown
    # The first sighting after the keys went down, and the show that followed it.
    read -r seen shown < <(awk -v start="$start" '
        $1 >= start && $3 == "keys" && !seen { seen = $1 }
        seen && $1 >= seen && $3 == "bar" && !shown { shown = $1 }
        END { printf "%.0f %.0f\n", seen, shown }' "$TRACE")
    if [ "$seen" -gt 0 ]; then
        SEEN_US=$((visible - seen))
        [ "$shown" -gt 0 ] && SHOWN_US=$((shown - seen))
    fi
    xdotool keyup $KEY_S keyup $KEY_SHIFT_L keyup $KEY_CTRL_L
    wait_until 5 is_active "$MAIN_WIN" || { log "the bar was shown but is not active"; return 1; }

    xdotool type --delay 8 "$TERM_TYPED"
    time_return_to_url "the bar" || return 1
    SEARCH_US=$RETURN_US
    search_steps "$TRACE" tellurix
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
# bare_return_search MODE: the running bare program (MODE return: it only
# hands the URL over; returnhide: it hides its window afterwards, as the bar
# does) gets Return: sets BARE_RETURN_US to the time from Return to the URL's
# arrival.
declare -A BARE_RETURN_WINS=()
BARE_RETURN_PID=
bare_return_search() {
    local mode=$1 title='Tellurix bare Return' pid
    [ "$mode" = return ] || title='Tellurix bare Return hide'
    if [ -z "${BARE_RETURN_WINS[$mode]:-}" ]; then
        TELLURIX_TRACE="Z:${BARE_TRACE//\//\\}.$mode" start_program pid "$BARE_EXE" "$mode" "$EXPECTED_URL"
        [ "$mode" = return ] && BARE_RETURN_PID=$pid
        wait_until 20 has_visible "$title" || { log "the window '$title' did not appear"; return 1; }
        BARE_RETURN_WINS[$mode]=$(find_visible "$title")
    fi
    # The hiding one comes back 300 ms after its last search.
    wait_until 5 is_viewable "${BARE_RETURN_WINS[$mode]}" || { log "'$title' did not come back"; return 1; }
    timeout 3 xdotool windowactivate --sync "${BARE_RETURN_WINS[$mode]}" 2>/dev/null ||
        timeout 3 xdotool windowfocus --sync "${BARE_RETURN_WINS[$mode]}"
    time_return_to_url "the window '$title'" || return 1
    BARE_RETURN_US=$RETURN_US
    search_steps "$BARE_TRACE.$mode" "bare-$mode"
}

sample_memory() {
    local label=$1 tx bare watcher returns=-
    tx=$(rss_kb "$TX_PID")
    bare=$(rss_kb "$BARE_PID")
    watcher=$(rss_kb "$BARE_WATCHER_PID")
    [ -z "$BARE_RETURN_PID" ] || returns=$(rss_kb "$BARE_RETURN_PID")
    printf '%s %s %s %s %s\n' "$label" "$tx" "$bare" "$watcher" "$returns" >>"$WORK_DIR/memory"
    log "memory $label: Tellurix $tx KB, bare $bare KB (with a polling thread $watcher KB, searching $returns KB)"
}

: >"$WORK_DIR/hotkey"
: >"$WORK_DIR/hotkey_after_xdotool"
: >"$WORK_DIR/hotkey_seen"
for who in tellurix bare-return bare-returnhide; do
    for part in taken handed arrived; do : >"$WORK_DIR/$who.$part"; done
done
: >"$WORK_DIR/bare_returnhide"
: >"$WORK_DIR/hotkey_shown"
: >"$WORK_DIR/search"
: >"$WORK_DIR/bare_search"
: >"$WORK_DIR/bare_return"
: >"$WORK_DIR/memory"

seed_settings
start_program BARE_PID "$BARE_EXE"
start_program BARE_WATCHER_PID "$BARE_EXE" watcher
TELLURIX_TRACE="Z:${TRACE//\//\\}" start_program TX_PID "$TELLURIX_EXE"
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
        ms "$AFTER_XDOTOOL_US" >>"$WORK_DIR/hotkey_after_xdotool"
        [ -z "$SEEN_US" ] || ms "$SEEN_US" >>"$WORK_DIR/hotkey_seen"
        [ -z "$SHOWN_US" ] || ms "$SHOWN_US" >>"$WORK_DIR/hotkey_shown"
        ms "$SEARCH_US" >>"$WORK_DIR/search"
    else
        failures=$((failures + 1))
        [ "$failures" -le 5 ] || die "more than 5 cycles failed"
        recover
    fi
    if ((i % 10 == 0)) && bare_search; then
        ms "$BARE_US" >>"$WORK_DIR/bare_search"
    fi
    if ((i % 5 == 0)) && bare_return_search return; then
        ms "$BARE_RETURN_US" >>"$WORK_DIR/bare_return"
    fi
    if ((i % 5 == 0)) && bare_return_search returnhide; then
        ms "$BARE_RETURN_US" >>"$WORK_DIR/bare_returnhide"
    fi
    if ((i == 1 || i % 50 == 0 || i == CYCLES)); then sample_memory "after-$i"; fi
    if ((i % 25 == 0)); then log "cycle $i: last hotkey $(ms "$HOTKEY_US") ms, search $(ms "$SEARCH_US") ms"; fi
done
kill -0 "$TX_PID" 2>/dev/null || die "Tellurix ended during the cycles"

read -r _ tx_start bare_start watcher_start _ < <(grep '^start ' "$WORK_DIR/memory")
read -r _ tx_first _ < <(grep '^after-1 ' "$WORK_DIR/memory")
read -r _ tx_end bare_end watcher_end returns_end < <(tail -n 1 "$WORK_DIR/memory")
warm=$(awk '$1 == "after-50" { print $2 }' "$WORK_DIR/memory")
[ -n "$warm" ] || warm=$tx_first
kb_mb() { awk -v k="$1" 'BEGIN { printf "%+.2f MB", k / 1024 }'; }

report "memory (VmRSS, KB; Tellurix / bare / bare with a polling thread / bare searching on Return):"
report "  $(awk '{ printf "%s %s/%s/%s/%s  ", $1, $2, $3, $4, $5 }' "$WORK_DIR/memory")"
above_start=$((tx_start - bare_start))
above_end=$((tx_end - bare_end))
report "  Tellurix above bare: $(kb_mb "$above_start") after start-up, $(kb_mb "$above_end") after $CYCLES cycles" \
    "(target <= +2 MB): $(verdict "$above_start <= 2048 && $above_end <= 2048")"
report "  of that, a second thread that reads keys (bare with one against bare): $(kb_mb $((watcher_start - bare_start)))" \
    "after start-up, $(kb_mb $((watcher_end - bare_end))) at the end"
[ "$returns_end" = - ] ||
    report "  the bare program after its searches on Return, against bare: $(kb_mb $((returns_end - bare_end)))" \
        "(the shell's part of a search)"
# A page or two comes and goes with the heap: up to 64 KB counts as none.
report "  growth: $(kb_mb $((tx_first - tx_start))) with the first cycle, $(kb_mb $((tx_end - warm))) from cycle" \
    "$([ "$warm" = "$tx_first" ] && echo 1 || echo 50) to the end (target: none, <= 64 KB):" \
    "$(verdict "$((tx_end - warm)) <= 64")"
report "  Tellurix's own start-up steps in this run (ms after the first mark, working set KB):"
awk 'NR == 1 { first = $1 } $3 == "keys" || $3 == "hook" || $3 == "bar" || $3 == "search" || $3 == "return" { exit }
    { step = $3; for (i = 4; i <= NF; i++) step = step " " $i
      printf "    %-34s %8.1f ms %8d KB\n", step, ($1 - first) / 1000, $2 }' "$TRACE" |
    tee -a "$BENCH_OUT/summary.txt"

head -n "$PRESSES" "$WORK_DIR/hotkey" >"$WORK_DIR/hotkey_first"
report "hotkey latency, keys down (before xdotool starts) to the bar viewable:"
report "  first $(wc -l <"$WORK_DIR/hotkey_first") presses: $(describe ms <"$WORK_DIR/hotkey_first")"
read -r _ median _ _ p95 _ _ < <(stats <"$WORK_DIR/hotkey")
report "  all $(wc -l <"$WORK_DIR/hotkey") presses: $(describe ms <"$WORK_DIR/hotkey")"
report "    median $median ms (target <= 20 ms), p95 $p95 ms (target <= 30 ms):" \
    "$(verdict "$median <= 20 && $p95 <= 30")"
report "  the same from after xdotool returned (as runs before the keyboard hook took it):" \
    "$(describe ms <"$WORK_DIR/hotkey_after_xdotool")"
report "  from the hook's sighting of the S: $(describe ms <"$WORK_DIR/hotkey_seen")"
report "    of that, in the program until the show returned: $(describe ms <"$WORK_DIR/hotkey_shown")"
report "    the first show after start-up: $(head -n 1 "$WORK_DIR/hotkey_seen") ms from the sighting"
busy=$(awk '$3 == "hook" && $4 == "busy" && $5 > max { max = $5 } END { printf "%d", max }' "$TRACE")
report "  the longest the hook's thread was busy with one key stroke: $(ms "$busy") ms"

tx_search=$(median_of <"$WORK_DIR/search")
bare_search_ms=$(median_of <"$WORK_DIR/bare_search")
bare_return_ms=$(median_of <"$WORK_DIR/bare_return")
report "search latency, until the URL is at the recording browser:"
report "  Tellurix, from Return                    $(describe ms <"$WORK_DIR/search")"
for who in tellurix bare-return bare-returnhide; do
    report "    $who, from the key going down (before xdotool) to taking Return $(describe ms <"$WORK_DIR/$who.taken")"
    report "    $who, from taking Return to the shell's call returning          $(describe ms <"$WORK_DIR/$who.handed")"
    report "    $who, from there to the URL at the browser                      $(describe ms <"$WORK_DIR/$who.arrived")"
done
report "  bare started anew, from its call         $(describe ms <"$WORK_DIR/bare_search")"
report "  bare running, from Return in its window  $(describe ms <"$WORK_DIR/bare_return")"
report "  the same, hiding its window afterwards     $(describe ms <"$WORK_DIR/bare_returnhide")"
return_ratio=$(ratio "$tx_search" "$bare_return_ms")
hide_ratio=$(ratio "$tx_search" "$(median_of <"$WORK_DIR/bare_returnhide")")
report "  ratio of medians: $(ratio "$tx_search" "$bare_search_ms")x against the call at once," \
    "${return_ratio}x against Return in the bare window (target <= 1.2x): $(verdict "$return_ratio <= 1.2");" \
    "${hide_ratio}x against the bare window that hides itself as the bar does"
[ "$failures" -eq 0 ] || report "  ($failures of $CYCLES cycles failed and were left out)"
# The program's own marks of this run, for a closer look.
cp -- "$TRACE" "$BENCH_OUT/cycles-trace.txt"
