#!/usr/bin/env bash
# Builds Tellurix.exe and starts it under Wine. Uses the display in $DISPLAY
# when there is one; on a bare machine it starts Xvfb and openbox first (the
# display is printed; look at it with e.g. `x11vnc -display :91` or take a
# screenshot with `import -display :91 -window root shot.png`).
# Needs the machine set up once (scripts/test.sh or scripts/setup.sh).
set -euo pipefail

REPO_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$REPO_DIR"
JOBS=$(nproc 2>/dev/null || echo 2)

if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null || [ ! -f build/deps/mingw/lib/libpng.a ]; then
    if [ "$(id -u)" -eq 0 ]; then scripts/setup.sh; else sudo scripts/setup.sh; fi
fi
cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-x86_64.cmake >/dev/null
cmake --build build/windows -j "$JOBS" --target Tellurix

# shellcheck source=wine-env.sh
. scripts/wine-env.sh
# Without a display of its own, reuse the one an earlier run started.
if [ -z "${DISPLAY:-}" ] && [ -f build/run-display ]; then
    DISPLAY=$(cat build/run-display)
    export DISPLAY
    xdpyinfo >/dev/null 2>&1 || unset DISPLAY
fi
tx_display_start
echo "$DISPLAY" >build/run-display
tx_wine_prefix_init "${TELLURIX_WINEPREFIX:-$REPO_DIR/build/run-prefix}"
echo "Tellurix runs on display $DISPLAY (Wine prefix $WINEPREFIX)."
echo "Call up the bar with left Ctrl + left Shift + S or the tray icon; quit with its Beenden button."
exec wine build/windows/Tellurix.exe
