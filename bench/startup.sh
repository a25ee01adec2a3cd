#!/usr/bin/env bash
# Start-up, two ways, each program against the bare one, alternating which
# goes first; one warm-up run of each is not counted:
#   - first start: from starting the process to the first-start notice
#     ("Erster Start") on screen, with no settings file, against the bare
#     program showing a message box at once, and against the bare program
#     showing the same two things as Tellurix: a tray icon, then the box;
#   - normal start (settings of an earlier start, no notice): from starting
#     the process until the shell has taken the tray icon, against the bare
#     program adding one at once.
# Both programs mark their steps in a trace file (TELLURIX_TRACE): time and
# working set after each step, printed as medians per step.
#   BENCH_STARTUP_RUNS   counted runs of each program and way (default 30)
# shellcheck disable=SC2154 # the time_* functions assign the times by name
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"

RUNS=${BENCH_STARTUP_RUNS:-30}
TRACE=$WORK_DIR/trace.txt
TRACE_WINDOWS="Z:${TRACE//\//\\}"
# Every step of every counted run: "<program>/<way> <step> <ms since start> <KB>".
: >"$WORK_DIR/steps"

# keep_steps KEY START: the marks of the run that started at START, up to the
# step the run was timed to ($LAST_STEP; the process was ended there).
LAST_STEP=
keep_steps() {
    [ -s "$TRACE" ] || return 0
    awk -v key="$1" -v start="$2" -v last="${LAST_STEP// /_}" '{
        step = $3; for (i = 4; i <= NF; i++) step = step "_" $i
        printf "%s %s %.3f %d\n", key, step, ($1 - start) / 1000, $2
        if (step == last) exit
    }' "$TRACE" >>"$WORK_DIR/steps.run"
}

# start_traced EXE [ARGUMENTS...]: starts EXE with a fresh trace file; its
# pid goes into TRACED_PID, the time it was started into STARTED_AT.
start_traced() {
    rm -f -- "$TRACE"
    now_us
    STARTED_AT=$NOW
    TELLURIX_TRACE=$TRACE_WINDOWS start_program TRACED_PID "$@"
}

# as_ms VAR MICROSECONDS: stores the microseconds as milliseconds in VAR.
as_ms() { printf -v "$1" '%d.%03d' $(($2 / 1000)) $(($2 % 1000)); }

# time_until_visible VAR TITLE EXE [ARGUMENTS...]: starts EXE, waits for a
# visible window TITLE, stores the milliseconds in VAR and ends the process.
time_until_visible() {
    local var=$1 title=$2
    shift 2
    start_traced "$@"
    wait_until 30 has_visible "$title" || die "'$title' did not appear"
    now_us
    as_ms "$var" $((NOW - STARTED_AT))
    stop_program "$TRACED_PID"
    # The box goes with its process; wait for it so runs do not overlap.
    wait_until 10 bash -c "! xdotool search --name '^$title\$' >/dev/null 2>&1" || true
    LAST_STEP=
}

# time_until_mark VAR MARK EXE [ARGUMENTS...]: starts EXE, waits for the step
# MARK in its trace, stores the milliseconds from the start to that step in VAR
# and ends the process.
time_until_mark() {
    local var=$1 mark=$2 at
    shift 2
    start_traced "$@"
    wait_until 30 grep -q " $mark\$" "$TRACE" || die "'$mark' was not marked"
    stop_program "$TRACED_PID"
    at=$(awk -v mark="$mark" '{ step = $3; for (i = 4; i <= NF; i++) step = step " " $i }
        step == mark { print $1; exit }' "$TRACE")
    as_ms "$var" $((at - STARTED_AT))
    LAST_STEP=$mark
}

# The runners: WAY_NAME VAR runs one program one way and stores its time in VAR.
first_tellurix() {
    fresh_user
    time_until_visible "$1" 'Erster Start' "$TELLURIX_EXE"
}
first_bare() { time_until_visible "$1" 'Bare Start' "$BARE_EXE" box; }
first_traybox() { time_until_visible "$1" 'Bare Start' "$BARE_EXE" traybox; }
normal_tellurix() {
    seed_settings
    time_until_mark "$1" 'tray icon' "$TELLURIX_EXE"
}
normal_bare() { time_until_mark "$1" 'tray icon' "$BARE_EXE" tray; }

# measure WAY OTHER...: the runs of one way of starting, Tellurix and each of
# the bare programs OTHER (bare, traybox) in turn, into $WORK_DIR/WAY.NAME.
measure() {
    local way=$1 i k name ms
    shift
    local programs=(tellurix "$@")
    log "start-up ($way): warm-up"
    for name in "${programs[@]}"; do "${way}_$name" ms; done
    for name in "${programs[@]}"; do : >"$WORK_DIR/$way.$name"; done
    for ((i = 1; i <= RUNS; i++)); do
        : >"$WORK_DIR/steps.run"
        # Rotate which goes first, so a drift in the machine's load hits all.
        for ((k = 0; k < ${#programs[@]}; k++)); do
            name=${programs[$(((i + k) % ${#programs[@]}))]}
            "${way}_$name" ms
            keep_steps "$name/$way" "$STARTED_AT"
            echo "$ms" >>"$WORK_DIR/$way.$name"
        done
        cat "$WORK_DIR/steps.run" >>"$WORK_DIR/steps"
        log "start-up ($way) run $i: $(for name in "${programs[@]}"; do printf '%s %s ms  ' "$name" \
            "$(tail -n 1 "$WORK_DIR/$way.$name")"; done)"
    done
}

# summarise WAY OTHER TEXT [TARGET]: medians, spreads and both ratios of
# Tellurix against the bare program OTHER for one way of starting; with TARGET
# the verdict against it.
summarise() {
    local way=$1 other=$2 text=$3 target=${4:-} tx_median other_median median_ratio pair_ratio
    tx_median=$(median_of <"$WORK_DIR/$way.tellurix")
    other_median=$(median_of <"$WORK_DIR/$way.$other")
    # The ratio of each pair as well, which cancels slow phases of the machine.
    paste "$WORK_DIR/$way.tellurix" "$WORK_DIR/$way.$other" | awk '{ printf "%.3f\n", $1 / $2 }' \
        >"$WORK_DIR/$way.$other.ratios"
    pair_ratio=$(median_of <"$WORK_DIR/$way.$other.ratios")
    median_ratio=$(ratio "$tx_median" "$other_median")
    report "start-up, $text:"
    report "  Tellurix  $(describe ms <"$WORK_DIR/$way.tellurix")"
    report "  $(printf '%-9s' "$other") $(describe ms <"$WORK_DIR/$way.$other")"
    report "  per pair  $(describe x <"$WORK_DIR/$way.$other.ratios")"
    if [ -n "$target" ]; then
        report "  ratio of medians ${median_ratio}x, median of paired ratios ${pair_ratio}x (target <= ${target}x):" \
            "$(verdict "$median_ratio <= $target && $pair_ratio <= $target")"
    else
        report "  ratio of medians ${median_ratio}x, median of paired ratios ${pair_ratio}x"
    fi
}

# steps KEY: per step of KEY, the median time since the start and working set.
steps() {
    local key=$1 step n
    report "  steps of $key (median ms since the process was started, median working set):"
    # Steps in the order of their first appearance.
    awk -v key="$key" '$1 == key && !seen[$2]++ { print $2 }' "$WORK_DIR/steps" | while read -r step; do
        n=$(awk -v key="$key" -v step="$step" '$1 == key && $2 == step' "$WORK_DIR/steps" | wc -l)
        report "$(printf '    %-34s %8s ms %8s KB  (n %s)' "${step//_/ }" \
            "$(awk -v key="$key" -v step="$step" '$1 == key && $2 == step { print $3 }' "$WORK_DIR/steps" | median_of)" \
            "$(awk -v key="$key" -v step="$step" '$1 == key && $2 == step { print $4 }' "$WORK_DIR/steps" | median_of)" \
            "$n")"
    done
}

measure first bare traybox
measure normal bare
summarise first bare "process start to the first-start notice on screen, against the bare box" 1.15
summarise first traybox "the same, against the bare program's tray icon, then its box (what the notice start shows)"
steps tellurix/first
steps bare/first
steps traybox/first
summarise normal bare "process start to the tray icon taken by the shell (settings of an earlier start)" 1.15
steps tellurix/normal
steps bare/normal
