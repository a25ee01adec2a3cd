#!/usr/bin/env bash
# Sets up this machine on first use and runs every test of Tellurix:
#   1. the machine: Debian packages, libpng and cJSON for MinGW (scripts/setup.sh)
#   2. native unit tests (GoogleTest), and again under ASan + UBSan
#   3. the fuzzers (settings file, suggestion answers, history file, chord, search bar) for a bounded time
#   4. the Windows build, its unit tests and the end-to-end tests under Wine
#      on a virtual display (Xvfb + openbox), ending with ctest's summary.
# A second run skips what is already in place, the set-up included (it needs
# root or sudo only when something is missing).
#
# Usage: scripts/test.sh            (environment: FUZZ_SECONDS, default 60)
#        scripts/test.sh --unit     the native unit tests only
set -euo pipefail

REPO_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$REPO_DIR"
JOBS=$(nproc 2>/dev/null || echo 2)
FUZZ_SECONDS=${FUZZ_SECONDS:-60}
step() { printf '\n=== %s\n' "$*"; }

UNIT_ONLY=0
case ${1:-} in
    --unit) UNIT_ONLY=1 ;;
    "") ;;
    *) echo "usage: scripts/test.sh [--unit]" >&2; exit 2 ;;
esac

step "machine set-up"
if scripts/setup.sh --check; then
    echo "nothing missing"
elif [ "$(id -u)" -eq 0 ]; then
    scripts/setup.sh
else
    sudo scripts/setup.sh
fi

step "native unit tests"
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/native -j "$JOBS"
(cd build/native && ctest -j "$JOBS" --output-on-failure)
[ "$UNIT_ONLY" -eq 0 ] || exit 0

step "native unit tests with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DTELLURIX_SANITIZE=ON >/dev/null
cmake --build build/sanitize -j "$JOBS" --target tellurix_unit_tests
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 build/sanitize/tests/tellurix_unit_tests --gtest_brief=1

step "fuzzers: the settings file, suggestion answers, the history file, the chord and the search bar (${FUZZ_SECONDS} s together)"
tests/fuzz/run_fuzz.sh "$FUZZ_SECONDS" build/fuzz

step "Windows build, unit tests and end-to-end tests under Wine"
cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-x86_64.cmake >/dev/null
cmake --build build/windows -j "$JOBS"
# shellcheck source=wine-env.sh
. scripts/wine-env.sh
export TELLURIX_WINEPREFIX=$REPO_DIR/build/wineprefix
tx_display_start
trap 'tx_wine_stop >/dev/null 2>&1; tx_display_stop >/dev/null 2>&1' EXIT
tx_wine_prefix_init "$TELLURIX_WINEPREFIX"
(cd build/windows && ctest --output-on-failure)
