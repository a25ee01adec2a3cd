# shellcheck shell=bash
# Shared steps of the end-to-end tests: start the real Tellurix.exe under Wine
# on the test display and act on it as a user would (keys, clicks, windows,
# screenshots, files). Sourced by every test script; ctest passes
# TELLURIX_EXE, WINEPREFIX, DISPLAY and TELLURIX_URL_LOG.
set -euo pipefail

: "${TELLURIX_EXE:?}" "${WINEPREFIX:?}" "${DISPLAY:?}" "${TELLURIX_URL_LOG:?}" "${TELLURIX_KEY_TARGET:?}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
REPO_DIR=$(cd "$E2E_DIR/../.." && pwd)
# shellcheck source=../../scripts/wine-env.sh
. "$REPO_DIR/scripts/wine-env.sh"

TITLE="Tellurix $("$REPO_DIR/scripts/version.sh")"
APPDATA_DIR=$(tx_appdata_dir)
SETTINGS_DIR=$APPDATA_DIR/Brenmoor/Tellurix
SETTINGS_FILE=$SETTINGS_DIR/Einstellungen.ini
STARTUP_DIR="$APPDATA_DIR/Microsoft/Windows/Start Menu/Programs/StartUp"
SHORTCUT="$STARTUP_DIR/Tellurix.lnk"
WORK_DIR=$(mktemp -d "${TMPDIR:-/tmp}/tellurix-e2e.XXXXXX")

TX_PID=
MAIN_WIN=
STARTED_PIDS=()

log() { printf '[%s] %s\n' "$(date +%T.%3N)" "$*" >&2; }
fail() { log "FAIL: $*"; exit 1; }
pass() { log "ok: $*"; }

# expect_eq ACTUAL EXPECTED WHAT
expect_eq() {
    if [ "$1" != "$2" ]; then fail "$3: expected '$2', got '$1'"; fi
    pass "$3"
}

# wait_until SECONDS COMMAND...: polls every 20 ms; false on timeout.
wait_until() {
    local deadline=$(($(date +%s%N) + ${1%.*} * 1000000000))
    shift
    while ! "$@" >/dev/null 2>&1; do
        [ "$(date +%s%N)" -lt "$deadline" ] || return 1
        sleep 0.02
    done
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }

cleanup() {
    local pid
    for pid in "${STARTED_PIDS[@]}"; do
        kill -9 "$pid" 2>/dev/null || true
    done
    for pid in "${STARTED_PIDS[@]}"; do
        timeout 10 tail --pid="$pid" -f /dev/null 2>/dev/null || true
    done
    rm -rf -- "$WORK_DIR"
}
trap cleanup EXIT

# A fresh user: no settings, no autostart shortcut, no recorded URLs.
fresh_user() {
    rm -rf -- "$APPDATA_DIR/Brenmoor" "$SHORTCUT"
    : >"$TELLURIX_URL_LOG"
}

# Settings of a user who has started the program before (no first-start notice).
seed_settings() {
    local design=${1:-203} site=${2:-google.de}
    mkdir -p -- "$SETTINGS_DIR"
    printf '[Einstellungen]\r\nFPS = 0\r\nDesign = %s\r\nSuchseite = %s\r\n' "$design" "$site" >"$SETTINGS_FILE"
}

process_alive() { kill -0 "$1" 2>/dev/null; }

# launch_tellurix [FOLDER]: starts the program from FOLDER (default: its own
# folder) without waiting for it. Sets TX_PID.
launch_tellurix() {
    local folder=${1:-$(dirname "$TELLURIX_EXE")}
    (cd "$folder" && exec wine "$TELLURIX_EXE") </dev/null >"$WORK_DIR/wine.log" 2>&1 &
    TX_PID=$!
    STARTED_PIDS+=("$TX_PID")
}

# start_tellurix [FOLDER]: starts the program and waits for its own main
# window to exist. Sets TX_PID and MAIN_WIN.
start_tellurix() {
    local start
    start=$(now_ms)
    launch_tellurix "$@"
    wait_until 20 find_main_window || fail "the main window did not appear"
    MAIN_WIN=$(find_main_window)
    log "started (pid $TX_PID, window $MAIN_WIN) in $(($(now_ms) - start)) ms"
}

# The main window of the process TX_PID (not one left by an earlier run).
find_main_window() {
    local id
    id=$(xdotool search --all --pid "$TX_PID" --name "^$TITLE\$" 2>/dev/null | head -n 1)
    [ -n "$id" ] && echo "$id"
}

# wait_for_exit PID SECONDS: sets EXIT_CODE; fails on timeout. (Not in a
# subshell: only this shell can collect its child's exit code.)
EXIT_CODE=
wait_for_exit() {
    local pid=$1 seconds=$2 waited=0
    while process_alive "$pid"; do
        [ "$waited" -lt $((seconds * 50)) ] || fail "process $pid did not end within ${seconds}s"
        sleep 0.02
        waited=$((waited + 1))
    done
    EXIT_CODE=0
    wait "$pid" || EXIT_CODE=$?
}

is_viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
is_hidden() { ! is_viewable "$1"; }

# A visible window by exact title (message boxes, the design window, the picker has none).
find_visible() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
has_visible() { [ -n "$(find_visible "$1")" ]; }

# Client geometry of a window: "X Y WIDTH HEIGHT".
geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
        /^ *Width:/ {w=$NF} /^ *Height:/ {h=$NF} END {print x, y, w, h}'
}

# Wine sees keys only when X gives one of its windows the focus: a small
# window of our own in a corner of the screen takes it before the hotkey.
KEY_TARGET_WIN=
focus_wine() {
    # Gone when the session was ended (wineboot --end-session ends every program)
    # or the Wine server restarted; its X window may linger unmapped for a moment.
    if [ -n "$KEY_TARGET_WIN" ] && ! is_viewable "$KEY_TARGET_WIN"; then KEY_TARGET_WIN=; fi
    if [ -z "$KEY_TARGET_WIN" ]; then
        wine "$TELLURIX_KEY_TARGET" </dev/null >/dev/null 2>&1 &
        local pid=$!
        STARTED_PIDS+=("$pid")
        key_target() { xdotool search --all --onlyvisible --pid "$pid" --name '^Tellurix key target$' 2>/dev/null; }
        wait_until 20 key_target || fail "the key target window did not appear"
        KEY_TARGET_WIN=$(key_target | head -n 1)
    fi
    timeout 3 xdotool windowactivate --sync "$KEY_TARGET_WIN" 2>/dev/null || timeout 3 xdotool windowfocus --sync "$KEY_TARGET_WIN"
}

# press_keys KEYCODE...: holds them together long enough for a 100 ms poll.
press_keys() {
    local code
    for code in "$@"; do xdotool keydown "$code"; done
    sleep 0.25
    for ((i = $#; i > 0; i--)); do xdotool keyup "${!i}"; done
}

KEY_CTRL_L=37 KEY_CTRL_R=105 KEY_SHIFT_L=50 KEY_SHIFT_R=62 KEY_S=39
# Numbers of one digit name keys (xdotool reads "9" as the digit): Escape goes by name.
KEY_RETURN=36 KEY_ESCAPE=Escape KEY_DOWN=116 KEY_TAB=23

# The hotkey, held until the bar is shown and active (at least 250 ms, as a
# person holds keys; at most 5 s). Prints the time from pressing the keys to
# the window being on screen, in ms.
is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
show_bar() {
    focus_wine
    local start shown=0 elapsed
    xdotool keydown $KEY_CTRL_L keydown $KEY_SHIFT_L keydown $KEY_S
    start=$(now_ms)
    wait_until 5 is_viewable "$MAIN_WIN" && shown=1
    elapsed=$(($(now_ms) - start))
    while [ $(($(now_ms) - start)) -lt 250 ]; do sleep 0.02; done
    xdotool keyup $KEY_S keyup $KEY_SHIFT_L keyup $KEY_CTRL_L
    [ "$shown" -eq 1 ] || fail "the hotkey did not show the bar"
    wait_until 5 is_active "$MAIN_WIN" || fail "the bar was shown but is not the active window"
    echo "$elapsed"
}

# Screen point of a main-window control's centre: "X Y".
control_point() {
    local x y w h
    read -r x y w h < <(geometry "$MAIN_WIN")
    case $1 in
        1) echo $((x + 85)) $((y + 20)) ;;
        2) echo $((x + 270)) $((y + 20)) ;;
        3 | 4) echo $((x + 390)) $((y + 20)) ;;
        5) echo $((x + 420)) $((y + 20)) ;;
        8 | 9) echo $((x + 450)) $((y + 20)) ;;
        6) echo $((x + 480)) $((y + 20)) ;;
        7) echo $((x + 510)) $((y + 20)) ;;
        *) fail "no control $1 on the bar" ;;
    esac
}

click_at() {
    xdotool mousemove "$1" "$2"
    sleep 0.1
    xdotool click 1
}

click_control() {
    local px py
    read -r px py < <(control_point "$1")
    click_at "$px" "$py"
}

# dismiss TITLE: presses Return in the message box of that title.
# tip_appears CONTROL: rests the pointer on an image button of the shown bar;
# true when a balloon tip comes up over it within 6 s (the screen above the
# button changes).
tip_appears() {
    local bx by quiet
    read -r bx by < <(control_point "$1")
    above_button() {
        import -display "$DISPLAY" -window root -crop "160x90+$((bx - 80))+$((by - 100))" -depth 8 rgb:- | md5sum
    }
    xdotool mousemove 5 5
    sleep 0.5
    quiet=$(above_button)
    xdotool mousemove "$bx" "$by"
    tip_shown() { [ "$(above_button)" != "$quiet" ]; }
    wait_until 6 tip_shown
    local shown=$?
    xdotool mousemove 5 5
    sleep 0.3
    return $shown
}

dismiss() {
    local id
    wait_until 10 has_visible "$1" || fail "no window '$1'"
    id=$(find_visible "$1")
    timeout 3 xdotool windowactivate --sync "$id" 2>/dev/null || timeout 3 xdotool windowfocus --sync "$id"
    wait_until 5 is_active "$id" || true
    xdotool key Return
    wait_until 5 bash -c "! xdotool search --onlyvisible --name '^$1\$' >/dev/null 2>&1" ||
        fail "'$1' did not close"
}

# A balloon from the tray icon: a window of Wine's tray process beside its own.
balloon_shown() {
    xwininfo -root -tree | grep '"explorer.exe"' | grep -v -e '1x1+' -e 'Wine System Tray' | grep -q .
}

# The colour of one screen pixel as RRGGBB.
pixel() {
    import -display "$DISPLAY" -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null |
        sed -n 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p' | head -n 1
}

# Takes one screenshot; pixel_of then reads from it.
screenshot() { import -display "$DISPLAY" -window root "$WORK_DIR/screen.png"; }
pixel_of() {
    convert "$WORK_DIR/screen.png" -crop "1x1+$1+$2" -depth 8 txt:- |
        sed -n 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p' | head -n 1
}

# A balloon from the tray icon: a window of Wine's tray process beside its own.
balloon_shown() {
    xwininfo -root -tree | grep '"explorer.exe"' | grep -v -e '1x1+' -e 'Wine System Tray' | grep -q .
}

# Shows the bar and picks the first site of the list: Down in the list opened
# with the mouse picks.
pick_first_site_by_mouse() {
    show_bar >/dev/null
    click_control 1
    sleep 1
    xdotool key Down
    sleep 0.5
}

recorded_urls() { tr -d '\r' <"$TELLURIX_URL_LOG"; }
url_count() { wc -l <"$TELLURIX_URL_LOG"; }

# Ends the program through control 7 and checks the exit code.
quit_by_button() {
    is_viewable "$MAIN_WIN" || show_bar >/dev/null
    click_control 7
    wait_for_exit "$TX_PID" 15
    expect_eq "$EXIT_CODE" 0 "quit ends with code 0"
}
