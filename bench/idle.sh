#!/usr/bin/env bash
# Idle cost: the processor time a program uses while it waits, Tellurix with
# its bar hidden (the keyboard hook waiting) against the bare program. Each
# runs alone in the prefix for the window, one after the other, so that the
# wineserver's time (which serves both) can be told apart as well. The window
# is read in ten slices for a median and spread.
#   BENCH_IDLE_SECONDS   length of each program's window (default 60)
# shellcheck disable=SC2154 # start_program assigns the pids by name
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"

SECONDS_EACH=${BENCH_IDLE_SECONDS:-60}
SLICES=10
TICKS_PER_SECOND=$(getconf CLK_TCK)
SERVER=$(wineserver_pid) || die "no wineserver for $WINEPREFIX"

# measure NAME PID: samples the process and the server over the window; sets
# TOTAL_TICKS and SERVER_TICKS and writes each slice's share of one core in
# percent to $WORK_DIR/NAME.
measure() {
    local name=$1 pid=$2 slice_us begin server_begin last now_ticks i deadline
    slice_us=$((SECONDS_EACH * 1000000 / SLICES))
    # Start-up work is not idle work: let it settle first.
    nap 3
    begin=$(cpu_ticks "$pid")
    server_begin=$(cpu_ticks "$SERVER")
    last=$begin
    now_us
    deadline=$NOW
    : >"$WORK_DIR/$name"
    for ((i = 1; i <= SLICES; i++)); do
        deadline=$((deadline + slice_us))
        now_us
        while [ "$NOW" -lt "$deadline" ]; do
            nap "$(awk -v us=$((deadline - NOW)) 'BEGIN { printf "%.3f", us / 1e6 }')"
            now_us
        done
        now_ticks=$(cpu_ticks "$pid") || die "$name ended during the idle window"
        awk -v t=$((now_ticks - last)) -v hz="$TICKS_PER_SECOND" -v us="$slice_us" \
            'BEGIN { printf "%.3f\n", 100 * t / hz / (us / 1e6) }' >>"$WORK_DIR/$name"
        last=$now_ticks
    done
    TOTAL_TICKS=$((last - begin))
    SERVER_TICKS=$(($(cpu_ticks "$SERVER") - server_begin))
}

percent() { awk -v t="$1" -v hz="$TICKS_PER_SECOND" -v s="$SECONDS_EACH" 'BEGIN { printf "%.3f", 100 * t / hz / s }'; }

log "idle: bare program, ${SECONDS_EACH} s"
start_program bare_pid "$BARE_EXE"
wait_until 20 has_window 'Tellurix bare' || die "the bare program's window did not appear"
measure bare "$bare_pid"
bare_ticks=$TOTAL_TICKS
bare_server=$SERVER_TICKS
stop_program "$bare_pid"

log "idle: Tellurix with the bar hidden, ${SECONDS_EACH} s"
seed_settings
start_program tx_pid "$TELLURIX_EXE"
wait_until 20 has_window "$TITLE" || die "the main window did not appear"
main_win=$(find_window "$TITLE")
is_hidden "$main_win" || die "the bar is visible at start"
measure tellurix "$tx_pid"
tx_ticks=$TOTAL_TICKS
tx_server=$SERVER_TICKS
is_hidden "$main_win" || die "the bar came up during the idle window"
stop_program "$tx_pid"

tick_ms=$((1000 / TICKS_PER_SECOND))
slice=$(awk -v s="$SECONDS_EACH" -v n="$SLICES" 'BEGIN { printf "%g", s / n }')
report "idle cost over ${SECONDS_EACH} s each (one clock tick = ${tick_ms} ms):"
report "  Tellurix  $((tx_ticks * tick_ms)) ms = $(percent "$tx_ticks") % of one core;" \
    "wineserver meanwhile $((tx_server * tick_ms)) ms = $(percent "$tx_server") %"
report "            per $slice s slice: $(describe % <"$WORK_DIR/tellurix")"
report "  bare      $((bare_ticks * tick_ms)) ms = $(percent "$bare_ticks") % of one core;" \
    "wineserver meanwhile $((bare_server * tick_ms)) ms = $(percent "$bare_server") %"
report "            per $slice s slice: $(describe % <"$WORK_DIR/bare")"
report "  Tellurix above bare: $(percent $((tx_ticks - bare_ticks))) % of one core in the process," \
    "$(percent $((tx_ticks + tx_server - bare_ticks - bare_server))) % with the wineserver"
above_ms=$(((tx_ticks - bare_ticks) * tick_ms))
report "  Tellurix's process ${above_ms} ms above bare (target: within 1 ms, no wake-ups of its own):" \
    "$(verdict "$above_ms <= 1")"
