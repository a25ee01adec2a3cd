#!/usr/bin/env bash
# Makes the test prefix ready for the end-to-end tests: a running wineserver,
# and the recording program registered as the handler of http and https URLs.
set -euo pipefail
: "${WINEPREFIX:?}" "${DISPLAY:?}" "${TELLURIX_URL_HANDLER:?}"
REPO_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
. "$REPO_DIR/scripts/wine-env.sh"
tx_wine_prefix_init "$WINEPREFIX"

handler=$(winepath -w "$TELLURIX_URL_HANDLER" 2>/dev/null)
for scheme in http https; do
    timeout 60 wine reg add "HKCR\\$scheme\\shell\\open\\command" /ve /d "\"$handler\" \"%1\"" /f \
        </dev/null >/dev/null 2>&1
    value=$(timeout 60 wine reg query "HKCR\\$scheme\\shell\\open\\command" /ve </dev/null 2>/dev/null | tr -d '\r')
    case $value in
        *record_url.exe*) echo "$scheme URLs go to $handler" ;;
        *) echo "could not register the URL handler for $scheme: $value" >&2; exit 1 ;;
    esac
done
