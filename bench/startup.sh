#!/usr/bin/env bash
# Start-up: from starting the process to the first-start notice ("Erster
# Start") being on screen, with no settings file each time, against the bare
# program showing a message box at once. The two alternate, one warm-up run
# each is not counted.
#   BENCH_STARTUP_RUNS   counted runs of each program (default 30)
# shellcheck disable=SC2154 # time_until_visible assigns the times by name
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"

RUNS=${BENCH_STARTUP_RUNS:-30}

# time_until_visible VAR TITLE EXE [ARGUMENTS...]: starts EXE, waits for a
# visible window TITLE, stores the milliseconds in VAR and ends the process.
time_until_visible() {
    local var=$1 title=$2 pid start elapsed
    shift 2
    now_us
    start=$NOW
    start_program pid "$@"
    wait_until 30 has_visible "$title" || die "'$title' did not appear"
    now_us
    elapsed=$((NOW - start))
    stop_program "$pid"
    # The box goes with its process; wait for it so runs do not overlap.
    wait_until 10 bash -c "! xdotool search --name '^$title\$' >/dev/null 2>&1" || true
    printf -v "$var" '%d.%03d' $((elapsed / 1000)) $((elapsed % 1000))
}

run_tellurix() {
    fresh_user
    time_until_visible "$1" 'Erster Start' "$TELLURIX_EXE"
}
run_bare() { time_until_visible "$1" 'Bare Start' "$BARE_EXE" box; }

log "start-up: warm-up"
run_bare ms
run_tellurix ms
: >"$WORK_DIR/tellurix"
: >"$WORK_DIR/bare"
for ((i = 1; i <= RUNS; i++)); do
    # Alternate which goes first, so a drift in the machine's load hits both.
    if ((i % 2)); then
        run_bare bare_ms
        run_tellurix tx_ms
    else
        run_tellurix tx_ms
        run_bare bare_ms
    fi
    echo "$tx_ms" >>"$WORK_DIR/tellurix"
    echo "$bare_ms" >>"$WORK_DIR/bare"
    log "start-up run $i: Tellurix $tx_ms ms, bare $bare_ms ms"
done

tx_median=$(median_of <"$WORK_DIR/tellurix")
bare_median=$(median_of <"$WORK_DIR/bare")
# The ratio of each pair as well, which cancels slow phases of the machine.
paste "$WORK_DIR/tellurix" "$WORK_DIR/bare" | awk '{ printf "%.3f\n", $1 / $2 }' >"$WORK_DIR/ratios"
report "start-up, process start to notice on screen:"
report "  Tellurix  $(describe ms <"$WORK_DIR/tellurix")"
report "  bare      $(describe ms <"$WORK_DIR/bare")"
median_ratio=$(ratio "$tx_median" "$bare_median")
report "  per pair    $(describe x <"$WORK_DIR/ratios")"
report "  ratio of medians ${median_ratio}x (target <= 1.15x): $(verdict "$median_ratio <= 1.15")"
