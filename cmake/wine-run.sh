#!/bin/bash
# Runs a Windows program under Wine in the test prefix (ctest's emulator).
export WINEPREFIX="${TELLURIX_WINEPREFIX:-${WINEPREFIX:-$(cd "$(dirname "$0")/.." && pwd)/build/wineprefix}}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
exec wine "$@"
