# shellcheck shell=bash
# Shared steps of the benchmarks under Wine: clocks without forks, bounded
# waits, starting and ending the programs under test, statistics. Sourced by
# the bench/*.sh scripts, which scripts/bench.sh runs with this environment:
#   TELLURIX_EXE, BARE_EXE, KEY_TARGET_EXE, URL_LOG   the programs and the log
#                                                     of the recording browser
#   WINEPREFIX, DISPLAY                               prepared by scripts/bench.sh
#   BENCH_OUT                                         folder for the figures
set -euo pipefail

: "${TELLURIX_EXE:?}" "${BARE_EXE:?}" "${KEY_TARGET_EXE:?}" "${URL_LOG:?}" "${WINEPREFIX:?}" "${DISPLAY:?}" \
    "${BENCH_OUT:?}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

BENCH_LIB_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
REPO_DIR=$(cd "$BENCH_LIB_DIR/.." && pwd)
# shellcheck source=scripts/wine-env.sh
. "$REPO_DIR/scripts/wine-env.sh"

# shellcheck disable=SC2034 # used by the scripts that source this file
TITLE="Tellurix $("$REPO_DIR/scripts/version.sh")"
APPDATA_DIR=$(tx_appdata_dir)
SETTINGS_DIR=$APPDATA_DIR/Brenmoor/Tellurix
SETTINGS_FILE=$SETTINGS_DIR/Einstellungen.ini
WORK_DIR=$(mktemp -d "${TMPDIR:-/tmp}/tellurix-bench.XXXXXX")

log() { printf '[%s] %s\n' "$(date +%T)" "$*" >&2; }
die() { log "ERROR: $*"; exit 1; }

# --- Clocks and sleeping without starting a process -------------------------

# Microseconds since 1970, into NOW (no subshell: callers read $NOW).
NOW=0
now_us() { NOW=${EPOCHREALTIME//[.,]/}; }

# A pipe nobody writes to: `read -t` on it sleeps without a fork.
exec {BENCH_SLEEP_FD}<> <(:)
nap() { read -r -t "$1" -u "$BENCH_SLEEP_FD" _ 2>/dev/null || true; }

# wait_until SECONDS COMMAND...: polls every 5 ms; false on timeout.
wait_until() {
    local deadline
    now_us
    deadline=$((NOW + ${1%.*} * 1000000))
    shift
    while ! "$@" >/dev/null 2>&1; do
        now_us
        [ "$NOW" -lt "$deadline" ] || return 1
        nap 0.005
    done
}

# --- Windows on the X display ----------------------------------------------

is_viewable() { [[ $(xwininfo -id "$1" 2>/dev/null) == *"Map State: IsViewable"* ]]; }
is_hidden() { ! is_viewable "$1"; }
find_visible() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
has_visible() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
find_window() { xdotool search --name "^$1\$" 2>/dev/null | head -n 1; }
has_window() { xdotool search --name "^$1\$" >/dev/null 2>&1; }
is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }

# --- Processes ----------------------------------------------------------------

STARTED_PIDS=()

# start_program VAR EXE [ARGUMENTS...]: starts EXE under Wine; the pid of the
# Windows process goes into VAR. (The wine command execs its loader, so the
# shell's child is the Windows process itself.)
start_program() {
    local var=$1 exe=$2
    shift 2
    (cd "$(dirname "$exe")" && exec wine "$exe" "$@") </dev/null >/dev/null 2>&1 &
    STARTED_PIDS+=("$!")
    printf -v "$var" '%s' "$!"
    # Ended with kill -9 later: no job notices about that.
    disown "$!" 2>/dev/null || true
}

# stop_program PID: ends a process this shell started and waits for it.
stop_program() {
    local pid=$1 i
    kill -9 "$pid" 2>/dev/null || true
    for ((i = 0; i < 1000; i++)); do
        kill -0 "$pid" 2>/dev/null || break
        nap 0.01
    done
}

cleanup() {
    local pid
    for pid in "${STARTED_PIDS[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
    for pid in "${STARTED_PIDS[@]}"; do timeout 10 tail --pid="$pid" -f /dev/null 2>/dev/null || true; done
    rm -rf -- "$WORK_DIR"
}
trap cleanup EXIT

# CPU time (user + system) of a process in clock ticks.
cpu_ticks() {
    local stat rest
    stat=$(<"/proc/$1/stat") || return 1
    rest=${stat##*) }  # after the command name, which may hold blanks
    # shellcheck disable=SC2086
    set -- $rest
    echo $((${12} + ${13}))
}

# Resident size of a process in KB.
rss_kb() {
    local line
    while read -r line; do
        case $line in VmRSS:*) line=${line#VmRSS:}; echo $((${line% kB})); return 0 ;; esac
    done <"/proc/$1/status"
    return 1
}

# The wineserver of this prefix (the one scripts/bench.sh started).
wineserver_pid() {
    local pid
    for pid in $(pgrep -x 'wineserver(64)?' 2>/dev/null); do
        if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
            echo "$pid"
            return 0
        fi
    done
    return 1
}

# --- The user's state -------------------------------------------------------

fresh_user() { rm -rf -- "$APPDATA_DIR/Brenmoor"; }

# Settings of a user who has started the program before: it starts hidden.
seed_settings() {
    mkdir -p -- "$SETTINGS_DIR"
    printf '[Einstellungen]\r\nFPS = 0\r\nDesign = 203\r\nSuchseite = google.de\r\n' >"$SETTINGS_FILE"
}

# Wine sees keys only while X gives one of its windows the focus: a small
# window in a corner takes it before each hotkey press.
KEY_TARGET_WIN=
focus_key_target() {
    if [ -z "$KEY_TARGET_WIN" ]; then
        local pid
        start_program pid "$KEY_TARGET_EXE"
        wait_until 20 has_visible 'Tellurix key target' || die "the key target window did not appear"
        KEY_TARGET_WIN=$(find_visible 'Tellurix key target')
    fi
    timeout 3 xdotool windowactivate --sync "$KEY_TARGET_WIN" 2>/dev/null || timeout 3 xdotool windowfocus --sync "$KEY_TARGET_WIN"
}

# --- Figures --------------------------------------------------------------------

# stats: numbers on stdin, one a line. Prints "n median p25 p75 p95 min max"
# (nearest-rank percentiles).
stats() {
    sort -g | awk '
        { v[NR] = $1 }
        function rank(p,   r) { r = int(p * NR + 0.999999); if (r < 1) r = 1; if (r > NR) r = NR; return v[r] }
        END {
            if (NR == 0) { print "0 - - - - - -"; exit }
            printf "%d %s %s %s %s %s %s\n", NR, rank(0.5), rank(0.25), rank(0.75), rank(0.95), v[1], v[NR]
        }'
}

# One line of the summary: also appended to $BENCH_OUT/summary.txt.
report() {
    printf '%s\n' "$*" | tee -a "$BENCH_OUT/summary.txt"
}

# describe UNIT < numbers: "median X (IQR a-b, min-max c-d, n N)".
describe() {
    local n median p25 p75 p95 lo hi
    read -r n median p25 p75 p95 lo hi < <(stats)
    printf 'median %s %s (p25-p75 %s-%s, p95 %s, min-max %s-%s, n %s)' "$median" "$1" "$p25" "$p75" "$p95" "$lo" \
        "$hi" "$n"
}

median_of() { stats | awk '{ print $2 }'; }

# verdict AWK-CONDITION: "met" or "missed".
verdict() { awk "BEGIN { print (($1) ? \"met\" : \"missed\") }"; }

# ratio A B: A / B with two decimals.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b == 0) print "-"; else printf "%.2f", a / b }'; }
