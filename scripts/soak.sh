#!/usr/bin/env bash
# Runs the long forms of the soak and fault tests of Tellurix under Wine:
#   1. builds Tellurix.exe and its test helpers for Windows (build/windows)
#   2. starts a virtual display (Xvfb + openbox) when there is none, and sets
#      up a Wine prefix of its own (build/soak-prefix) with the recording
#      browser registered
#   3. tests/soak/soak.sh full   (1000 show/hide cycles, 200 searches, 100
#      designs, 100 site pickers; objects and memory watched)
#   4. tests/soak/faults.sh full (100 quits killed at random moments, 100
#      damaged settings files)
# About half an hour. Needs the machine set up by scripts/setup.sh (or a
# first run of scripts/test.sh). Not at the same time as scripts/test.sh:
# both use the recording browser's log in build/windows.
#
# Usage: scripts/soak.sh      (environment: SOAK_SEED repeats a run's random
#                              choices; SOAK_BUILD_DIR, default build/windows)
set -euo pipefail

REPO_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$REPO_DIR"
BUILD_DIR=$(realpath -m -- "${SOAK_BUILD_DIR:-build/windows}")
step() { printf '\n=== %s\n' "$*"; }

step "Windows build"
# The toolchain file counts only when the build folder is first configured.
if [ -f "$BUILD_DIR/CMakeCache.txt" ]; then
    cmake -S . -B "$BUILD_DIR" >/dev/null
else
    cmake -S . -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-x86_64.cmake >/dev/null
fi
cmake --build "$BUILD_DIR" -j "$(nproc 2>/dev/null || echo 2)" --target Tellurix record_url key_target gui_resources

step "display and Wine prefix"
# shellcheck source=wine-env.sh
. scripts/wine-env.sh
tx_display_start
trap 'tx_wine_stop >/dev/null 2>&1; tx_display_stop >/dev/null 2>&1' EXIT
export TELLURIX_EXE=$BUILD_DIR/Tellurix.exe
export TELLURIX_URL_HANDLER=$BUILD_DIR/tests/e2e/record_url.exe
export TELLURIX_URL_LOG=$BUILD_DIR/tests/e2e/urls.log
export TELLURIX_KEY_TARGET=$BUILD_DIR/tests/e2e/key_target.exe
export TELLURIX_GUI_RESOURCES=$BUILD_DIR/tests/soak/gui_resources.exe
export WINEPREFIX=$REPO_DIR/build/soak-prefix
bash tests/e2e/setup_prefix.sh

failed=()
step "soak (full)"
bash tests/soak/soak.sh full || failed+=("soak")
step "faults (full)"
bash tests/soak/faults.sh full || failed+=("faults")

if [ "${#failed[@]}" -gt 0 ]; then
    step "FAILED: ${failed[*]}"
    exit 1
fi
step "soak and faults passed"
