#!/bin/bash
# Runs the Windows HTTP client's tests under Wine against a local suggestion
# server that this script starts and ends.
# Usage: http_test.sh WINE_RUN TEST_PROGRAM [test arguments]
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
server=""
cleanup() {
    if [ -n "$server" ]; then kill "$server" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

python3 "$here/../e2e/suggest_server.py" "$work/port" --term wet --row wetter --row "wetter münchen" \
    --elsewhere-log "$work/elsewhere" --lifetime 120 &
server=$!
for _ in $(seq 200); do
    [ -s "$work/port" ] && break
    sleep 0.05
done
[ -s "$work/port" ] || { echo "the suggestion server did not start" >&2; exit 1; }

# A port nobody listens on: one the system hands out and takes back at once.
closed=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')

wine_run=$1
shift
TELLURIX_SUGGEST_PORT=$(cat "$work/port") TELLURIX_CLOSED_PORT=$closed "$wine_run" "$@"
# A redirect to 127.0.0.2 or to another port is never followed.
if [ -s "$work/elsewhere" ]; then
    echo "requests reached another address: $(cat "$work/elsewhere")" >&2
    exit 1
fi
