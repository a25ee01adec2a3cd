#!/usr/bin/env bash
# Builds Tellurix and its benchmarks and runs them: the Windows program under
# Wine on a virtual display of its own, measured against a bare Win32 program
# built in the same tree, and the native micro-benchmarks of the logic.
#
#   scripts/bench.sh [startup] [idle] [cycles] [suggestions] [size] [micro]   (default: all)
#
# Environment (defaults in brackets):
#   BENCH_DIR             builds, Wine prefix and figures [build/bench]
#   BENCH_WINEPREFIX      the Wine prefix [$BENCH_DIR/prefix]
#   BENCH_STARTUP_RUNS    start-up runs of each program [30]
#   BENCH_IDLE_SECONDS    idle window of each program [60]
#   BENCH_CYCLES          show/search/hide cycles [200]
#   BENCH_HOTKEY_PRESSES  presses counted for the hotkey latency [50]
#   BENCH_TYPING_ROUNDS   rounds of the typing probe [40]
#   BENCH_LIST_PRESSES    presses for the list's figures [40]
#   BENCH_BASELINE_EXE    an earlier Tellurix.exe to compare the typing with [none]
#   BENCH_MICRO_MIN_TIME  seconds per native micro-benchmark [0.5]
# The figures are printed and collected in $BENCH_DIR/results/summary.txt.
# Benchmarks only report: the exit code says whether they ran, not whether a
# target was met.
set -euo pipefail

REPO_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$REPO_DIR"
BENCH_DIR=${BENCH_DIR:-$REPO_DIR/build/bench}
case $BENCH_DIR in /*) ;; *) BENCH_DIR=$REPO_DIR/$BENCH_DIR ;; esac
JOBS=${BENCH_JOBS:-2}
PARTS=("$@")
[ ${#PARTS[@]} -gt 0 ] || PARTS=(startup idle cycles suggestions size micro)
for part in "${PARTS[@]}"; do
    case $part in startup | idle | cycles | suggestions | size | micro) ;; *) echo "unknown benchmark: $part" >&2; exit 2 ;; esac
done
wants() { local p; for p in "${PARTS[@]}"; do [ "$p" = "$1" ] && return 0; done; return 1; }
wants_wine() { wants startup || wants idle || wants cycles || wants suggestions; }
step() { printf '\n=== %s\n' "$*" >&2; }
START=$(date +%s)

# Until the top-level list adds bench/ itself, this adds it (and does nothing
# once it does).

BENCH_OUT=$BENCH_DIR/results
mkdir -p "$BENCH_OUT"
: >"$BENCH_OUT/summary.txt"
report() { printf '%s\n' "$*" | tee -a "$BENCH_OUT/summary.txt"; }

if wants_wine || wants size; then
    step "Windows build ($BENCH_DIR/windows)"
    cmake -S . -B "$BENCH_DIR/windows" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-x86_64.cmake \
        -DTELLURIX_E2E=OFF -DTELLURIX_TESTS=OFF >"$BENCH_DIR/windows-configure.log" 2>&1 ||
        { tail -n 30 "$BENCH_DIR/windows-configure.log" >&2; exit 1; }
    cmake --build "$BENCH_DIR/windows" -j "$JOBS" --target bench_windows >"$BENCH_DIR/windows-build.log" 2>&1 ||
        { tail -n 30 "$BENCH_DIR/windows-build.log" >&2; exit 1; }
fi
export TELLURIX_EXE=$BENCH_DIR/windows/Tellurix.exe
export BARE_EXE=$BENCH_DIR/windows/bench/tellurix_bare.exe
export KEY_TARGET_EXE=$BENCH_DIR/windows/bench/bench_key_target.exe
export URL_HANDLER_EXE=$BENCH_DIR/windows/bench/bench_record_url.exe
export URL_LOG=$BENCH_DIR/windows/bench/urls.log
export TYPE_PROBE_EXE=$BENCH_DIR/windows/bench/bench_type_probe.exe
# The program as it was before a change, to compare the typing with.
export BASELINE_EXE=${BENCH_BASELINE_EXE:-}
export BENCH_OUT

# shellcheck source=wine-env.sh
. scripts/wine-env.sh
WINE_VERSION=$(wine --version 2>/dev/null || echo unknown)

report "Tellurix benchmarks, $(date '+%Y-%m-%d %H:%M %Z')"
report "machine: $(nproc) cores, $(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo), $WINE_VERSION," \
    "load average at start $(cut -d' ' -f1-3 /proc/loadavg)"
KNOBS='^(BENCH_(DIR|WINEPREFIX|JOBS|STARTUP_RUNS|IDLE_SECONDS|CYCLES|HOTKEY_PRESSES|TYPING_ROUNDS|LIST_PRESSES|BASELINE_EXE|MICRO_MIN_TIME)|TX_DISPLAY_FIRST)='
report "command: $(env | grep -E "$KNOBS" | sort | tr '\n' ' ')scripts/bench.sh $*"

if wants_wine; then
    step "display and Wine prefix"
    # Always a display of our own: other programs on a shared one would take
    # the focus and the processor time being measured.
    unset DISPLAY
    export TX_DISPLAY_FIRST=${TX_DISPLAY_FIRST:-150}
    tx_display_start
    trap 'tx_wine_stop >/dev/null 2>&1; tx_display_stop >/dev/null 2>&1' EXIT
    tx_wine_prefix_init "${BENCH_WINEPREFIX:-$BENCH_DIR/prefix}"
    # The recording browser answers http and https URLs in this prefix.
    TELLURIX_URL_HANDLER=$URL_HANDLER_EXE bash tests/e2e/setup_prefix.sh >/dev/null
    report "display $DISPLAY (Xvfb + openbox), prefix $WINEPREFIX"
fi

for part in startup idle cycles suggestions; do
    wants "$part" || continue
    step "$part"
    bash "bench/$part.sh"
done

if wants size; then
    step "size"
    bash bench/size.sh
fi

if wants micro; then
    step "native micro-benchmarks ($BENCH_DIR/native)"
    cmake -S . -B "$BENCH_DIR/native" -DCMAKE_BUILD_TYPE=Release -DTELLURIX_E2E=OFF -DTELLURIX_TESTS=OFF \
        >"$BENCH_DIR/native-configure.log" 2>&1 ||
        { tail -n 30 "$BENCH_DIR/native-configure.log" >&2; exit 1; }
    if grep -q 'Google Benchmark not found' "$BENCH_DIR/native-configure.log"; then
        report "native micro-benchmarks skipped: Google Benchmark (libbenchmark-dev) is not installed"
    else
        cmake --build "$BENCH_DIR/native" -j "$JOBS" --target tellurix_micro_bench >"$BENCH_DIR/native-build.log" 2>&1 ||
            { tail -n 30 "$BENCH_DIR/native-build.log" >&2; exit 1; }
        report "native micro-benchmarks (Google Benchmark, Release build):"
        "$BENCH_DIR/native/bench/tellurix_micro_bench" --benchmark_min_time="${BENCH_MICRO_MIN_TIME:-0.5}" \
            2>/dev/null | tee -a "$BENCH_OUT/summary.txt"
    fi
fi

report ""
report "total time $(($(date +%s) - START)) s; figures in $BENCH_OUT/summary.txt"
