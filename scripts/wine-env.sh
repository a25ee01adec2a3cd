# shellcheck shell=bash
# Helpers for running the Windows build under Wine with an X display.
# Source this file from bash:  . scripts/wine-env.sh
#
#   tx_wine_prefix_init DIR   use (and create if needed) the Wine prefix DIR,
#                             start a persistent wineserver for it
#   tx_wine_stop              stop the wineserver of the current prefix
#   tx_display_start          make sure DISPLAY answers and a window manager
#                             runs on it (starts Xvfb + openbox when needed)
#   tx_display_stop [FILE|:N] stop only what tx_display_start started
#   tx_appdata_dir            print %APPDATA% (Roaming) of the prefix
#   tx_set_dpi PREFIX DPI     display scale of PREFIX from the next program
#                             start on (96 = 100 %, 120 = 125 %, 144 = 150 %)
#   tx_xephyr_start           two monitors: Xephyr inside DISPLAY, openbox on
#                             it, DISPLAY exported, Wine of $WINEPREFIX on it
#   tx_xephyr_stop            undo tx_xephyr_start, DISPLAY restored
#
# The functions do not change the caller's shell options and work under
# `set -euo pipefail`. Every wait is bounded. They return non-zero and print
# a line on stderr when something does not come up.

_tx_log() { printf '[wine-env] %s\n' "$*" >&2; }

# ---------------------------------------------------------------------------
# Wine prefix
# ---------------------------------------------------------------------------

# Marker written once a prefix has been fully initialised by us.
TX_PREFIX_MARKER=.tellurix-prefix-ready

tx_wine_prefix_init() {
    local dir=${1:-}
    if [ -z "$dir" ]; then
        _tx_log "usage: tx_wine_prefix_init PREFIX_DIR"
        return 2
    fi
    command -v wine >/dev/null 2>&1 || { _tx_log "wine not installed (run scripts/setup.sh)"; return 1; }

    # Wine wants an absolute path.
    dir=$(realpath -m -- "$dir") || return 1
    mkdir -p -- "$(dirname -- "$dir")" || return 1

    export WINEPREFIX=$dir
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEARCH=win64

    if [ ! -f "$WINEPREFIX/$TX_PREFIX_MARKER" ]; then
        # Several shells may initialise the same prefix at once: serialise.
        local lock=$WINEPREFIX.init-lock rc=0
        {
            if ! flock -w 300 9; then
                _tx_log "timed out waiting for $lock"
                rc=1
            elif [ ! -f "$WINEPREFIX/$TX_PREFIX_MARKER" ]; then
                _tx_log "creating Wine prefix $WINEPREFIX (takes about 10 s)"
                if ! timeout 300 wineboot --init </dev/null >"$WINEPREFIX.init.log" 2>&1; then
                    _tx_log "wineboot --init failed or timed out (log: $WINEPREFIX.init.log)"
                    rc=1
                else
                    # wineboot returns before its helper processes are done;
                    # wait for the (non-persistent) server to go away.
                    timeout 120 wineserver -w </dev/null >/dev/null 2>&1 || true
                    if [ -f "$WINEPREFIX/system.reg" ] && [ -d "$WINEPREFIX/drive_c/windows" ]; then
                        : >"$WINEPREFIX/$TX_PREFIX_MARKER"
                    else
                        _tx_log "Wine prefix $WINEPREFIX incomplete after wineboot (log: $WINEPREFIX.init.log)"
                        rc=1
                    fi
                fi
            fi
        } 9>"$lock"
        [ "$rc" -eq 0 ] || return "$rc"
    fi

    # A persistent server keeps start-up of each program short. All output
    # goes to /dev/null: the server and Wine's helper processes
    # (services.exe, explorer.exe, ...) would otherwise keep the caller's
    # pipes open, and ctest waits for those to close.
    wineserver -p </dev/null >/dev/null 2>&1 || true
    if ! timeout 120 wine cmd /c exit </dev/null >/dev/null 2>&1; then
        _tx_log "wine cmd /c exit failed or timed out in $WINEPREFIX"
        return 1
    fi
    return 0
}

tx_wine_stop() {
    if [ -z "${WINEPREFIX:-}" ]; then
        _tx_log "tx_wine_stop: WINEPREFIX not set"
        return 1
    fi
    # -k acts on the server of $WINEPREFIX only.
    timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true
    timeout 15 wineserver -w </dev/null >/dev/null 2>&1 || true
    return 0
}

tx_appdata_dir() {
    if [ -z "${WINEPREFIX:-}" ]; then
        _tx_log "tx_appdata_dir: WINEPREFIX not set"
        return 1
    fi
    # Wine names the profile after the login name; $USER may be empty.
    printf '%s\n' "$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming"
}

# The prefix's server is ended (every Wine program of the prefix with it), so
# that its registry is on disk, and started again as tx_wine_prefix_init
# starts it. Runs in a subshell: the caller's WINEPREFIX stays as it was.
_tx_wine_restart() {
    (
        export WINEPREFIX=$1
        tx_wine_stop && tx_wine_prefix_init "$1"
    )
}

# Prints the data of one registry value of the current prefix; false when it
# is not there. Arguments: key, value name. (Through a file: a Wine helper
# process started by reg would keep a pipe open after reg is done.)
_tx_reg_value() {
    local file rc=0
    file=$(mktemp "${TMPDIR:-/tmp}/tellurix-reg.XXXXXX") || return 1
    timeout 60 wine reg query "$1" /v "$2" </dev/null >"$file" 2>/dev/null &&
        tr -d '\r' <"$file" |
        awk -v name="$2" '$1 == name { $1 = ""; $2 = ""; sub(/^ +/, ""); print; f = 1 } END { exit !f }' ||
        rc=1
    rm -f -- "$file"
    return "$rc"
}

# ---------------------------------------------------------------------------
# Display scale
# ---------------------------------------------------------------------------

# tx_set_dpi PREFIX DPI: the scale Wine reports (GetDeviceCaps(LOGPIXELSX),
# GetDpiForWindow) to every program of PREFIX started afterwards. The
# prefix's server is restarted (its programs end) and left running
# persistently. Back to normal: tx_set_dpi PREFIX 96.
tx_set_dpi() {
    local prefix=${1:-} dpi=${2:-} got
    case $dpi in '' | *[!0-9]*) dpi=0 ;; esac
    if [ -z "$prefix" ] || [ "$dpi" -lt 48 ] || [ "$dpi" -gt 480 ]; then
        _tx_log "usage: tx_set_dpi PREFIX DPI (48 to 480)"
        return 2
    fi
    prefix=$(realpath -m -- "$prefix") || return 1
    [ -f "$prefix/system.reg" ] || { _tx_log "tx_set_dpi: $prefix is no Wine prefix"; return 1; }
    got=$(
        export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
        timeout 60 wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
            </dev/null >/dev/null 2>&1 || exit 1
        # A new server reads the registry from disk: it has to be saved first.
        _tx_wine_restart "$prefix" || exit 1
        _tx_reg_value 'HKCU\Control Panel\Desktop' LogPixels
    ) || { _tx_log "tx_set_dpi: could not set LogPixels in $prefix"; return 1; }
    if [ "$((got))" -ne "$dpi" ]; then
        _tx_log "tx_set_dpi: LogPixels is '$got' after setting $dpi"
        return 1
    fi
    return 0
}

# ---------------------------------------------------------------------------
# X display
# ---------------------------------------------------------------------------

_tx_display_alive() {
    [ -n "${1:-}" ] && timeout 5 xdpyinfo -display "$1" >/dev/null 2>&1
}

# True when an EWMH window manager (openbox, ...) runs on display $1.
_tx_wm_running() {
    local out id
    out=$(timeout 5 xprop -display "$1" -root _NET_SUPPORTING_WM_CHECK 2>/dev/null) || return 1
    id=${out##*window id # }
    case $id in 0x*) ;; *) return 1 ;; esac
    # A window manager that died leaves the property behind; its check
    # window goes away with it.
    timeout 5 xprop -display "$1" -id "$id" _NET_SUPPORTING_WM_CHECK >/dev/null 2>&1
}

# Default state file for a display, e.g. /tmp/tellurix-display-91.pids.
_tx_display_pidfile() {
    local d=${1#*:}
    d=${d%%.*}
    printf '%s/tellurix-display-%s.pids\n' "${TMPDIR:-/tmp}" "$d"
}

_tx_start_openbox() {
    local display=$1 pidfile=$2 pid i
    command -v openbox >/dev/null 2>&1 || { _tx_log "openbox not installed"; return 1; }
    DISPLAY=$display openbox --sm-disable </dev/null >"${pidfile%.pids}.openbox.log" 2>&1 &
    pid=$!
    disown "$pid" 2>/dev/null || true
    printf 'pid %s openbox\n' "$pid" >>"$pidfile"
    for ((i = 0; i < 50; i++)); do
        _tx_wm_running "$display" && return 0
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.2
    done
    _tx_log "openbox did not come up on $display (log: ${pidfile%.pids}.openbox.log)"
    return 1
}

tx_display_start() {
    local pidfile

    if _tx_display_alive "${DISPLAY:-}"; then
        # Use the display we were given; only add a window manager if it
        # lacks one (without one, hiding a Wine window blocks for seconds).
        if _tx_wm_running "$DISPLAY"; then
            export TX_DISPLAY_PIDFILE=
            return 0
        fi
        pidfile=${TX_DISPLAY_PIDFILE:-${TMPDIR:-/tmp}/tellurix-wm-${DISPLAY//[^A-Za-z0-9]/_}.$$.pids}
        printf 'display %s\n' "$DISPLAY" >"$pidfile"
        export TX_DISPLAY_PIDFILE=$pidfile
        _tx_log "no window manager on $DISPLAY: starting openbox"
        _tx_start_openbox "$DISPLAY" "$pidfile"
        return
    fi

    command -v Xvfb >/dev/null 2>&1 || { _tx_log "Xvfb not installed (run scripts/setup.sh)"; return 1; }

    local n=${TX_DISPLAY_FIRST:-91} last attempts=0 pid i up log
    last=$((n + 100))
    for (( ; n <= last && attempts < 5; n++)); do
        # Taken (or left over) by some other server.
        if [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; then continue; fi
        attempts=$((attempts + 1))
        pidfile=${TX_DISPLAY_PIDFILE:-$(_tx_display_pidfile ":$n")}
        # Per-shell log name first: a shell that loses the race for :$n must
        # not clobber the winner's log.
        log=${pidfile%.pids}.xvfb.$$.log
        Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp -noreset \
            </dev/null >"$log" 2>&1 &
        pid=$!
        disown "$pid" 2>/dev/null || true
        up=0
        for ((i = 0; i < 50; i++)); do
            # Gone: lost a race for this number, or Xvfb cannot start at all.
            # (Check first: after a lost race the display does answer, but
            # it is somebody else's server.)
            kill -0 "$pid" 2>/dev/null || break
            if _tx_display_alive ":$n" && kill -0 "$pid" 2>/dev/null; then up=1; break; fi
            sleep 0.2
        done
        if [ "$up" -eq 1 ]; then
            mv -f -- "$log" "${pidfile%.pids}.xvfb.log" 2>/dev/null || true
            printf 'display :%s\npid %s Xvfb\n' "$n" "$pid" >"$pidfile"
            export TX_DISPLAY_ORIG=${DISPLAY-__unset__}
            export DISPLAY=:$n
            export TX_DISPLAY_PIDFILE=$pidfile
            _tx_log "started Xvfb on :$n (pid $pid); state in $pidfile"
            _tx_start_openbox "$DISPLAY" "$pidfile"
            return
        fi
        kill "$pid" 2>/dev/null || true
        if ! grep -q 'already active' "$log" 2>/dev/null; then
            _tx_log "Xvfb :$n did not come up: $(tail -n 3 "$log" 2>/dev/null | tr '\n' ' ')"
        fi
        rm -f -- "$log"
    done
    _tx_log "could not start Xvfb"
    return 1
}

# Stops the processes recorded by tx_display_start. Argument: the state
# file, or a display (":91") whose default state file to use; default: the
# state file of this shell ($TX_DISPLAY_PIDFILE).
tx_display_stop() {
    local pidfile=${1:-${TX_DISPLAY_PIDFILE:-}}
    case $pidfile in :*) pidfile=$(_tx_display_pidfile "$pidfile") ;; esac
    [ -n "$pidfile" ] || return 0 # nothing was started
    [ -f "$pidfile" ] || { _tx_log "no state file $pidfile"; return 0; }

    local tag pid name pids=() names=() k i display=
    while read -r tag pid name; do
        case $tag in
            display) display=$pid ;;
            pid) pids+=("$pid"); names+=("$name") ;;
        esac
    done <"$pidfile"

    # Newest first: the window manager before its X server.
    for ((k = ${#pids[@]} - 1; k >= 0; k--)); do
        pid=${pids[k]}
        name=${names[k]}
        # Only if the pid still is the process we started.
        [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = "$name" ] || continue
        kill -TERM "$pid" 2>/dev/null || continue
        for ((i = 0; i < 50; i++)); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        if kill -0 "$pid" 2>/dev/null && [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = "$name" ]; then
            kill -KILL "$pid" 2>/dev/null || true
        fi
    done
    rm -f -- "$pidfile" "${pidfile%.pids}.xvfb.log" "${pidfile%.pids}.openbox.log"

    if [ "${TX_DISPLAY_PIDFILE:-}" = "$pidfile" ]; then
        # Give the caller back the DISPLAY it had before tx_display_start.
        if [ -n "$display" ] && [ "${DISPLAY:-}" = "$display" ] && [ -n "${TX_DISPLAY_ORIG:-}" ]; then
            if [ "$TX_DISPLAY_ORIG" = __unset__ ]; then unset DISPLAY; else export DISPLAY=$TX_DISPLAY_ORIG; fi
        fi
        unset TX_DISPLAY_PIDFILE TX_DISPLAY_ORIG
    fi
    return 0
}

# ---------------------------------------------------------------------------
# Two monitors
# ---------------------------------------------------------------------------
# One Xvfb gives Wine one monitor whatever its screens. Xephyr with Xinerama
# inside it gives two, once Wine's X11 driver is told not to use XRandR.

TX_XEPHYR_SCREENS=(-screen 1280x800+0+0 -screen 1024x768+1280+0)

# tx_xephyr_start: starts Xephyr (monitors 0,0-1280,800, the primary, and
# 1280,0-2304,768) and openbox on a free display, sets UseXRandR = N in
# $WINEPREFIX and restarts the prefix's server there, then exports
# DISPLAY=:N. Undo with tx_xephyr_stop, also after a failure.
tx_xephyr_start() {
    if [ -n "${TX_XEPHYR_PIDFILE:-}" ]; then
        _tx_log "tx_xephyr_start: already running ($TX_XEPHYR_PIDFILE)"
        return 1
    fi
    [ -n "${WINEPREFIX:-}" ] || { _tx_log "tx_xephyr_start: WINEPREFIX not set"; return 1; }
    command -v Xephyr >/dev/null 2>&1 || { _tx_log "Xephyr not installed (run scripts/setup.sh)"; return 1; }
    _tx_display_alive "${DISPLAY:-}" || { _tx_log "tx_xephyr_start: no display '${DISPLAY:-}' to run in"; return 1; }

    local n=${TX_XEPHYR_FIRST:-$((${TX_DISPLAY_FIRST:-91} + 20))} last attempts=0 pid i up=0 log pidfile old
    last=$((n + 100))
    for (( ; n <= last && attempts < 5; n++)); do
        if [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; then continue; fi
        attempts=$((attempts + 1))
        pidfile=${TMPDIR:-/tmp}/tellurix-xephyr-$n.pids
        log=${pidfile%.pids}.xephyr.log
        Xephyr ":$n" +xinerama "${TX_XEPHYR_SCREENS[@]}" -noreset -nolisten tcp </dev/null >"$log" 2>&1 &
        pid=$!
        disown "$pid" 2>/dev/null || true
        for ((i = 0; i < 50; i++)); do
            kill -0 "$pid" 2>/dev/null || break
            if _tx_display_alive ":$n" && kill -0 "$pid" 2>/dev/null; then up=1; break; fi
            sleep 0.2
        done
        [ "$up" -eq 1 ] && break
        kill "$pid" 2>/dev/null || true
        grep -q 'already active' "$log" 2>/dev/null || _tx_log "Xephyr :$n did not come up: $(tail -n 3 "$log" | tr '\n' ' ')"
        rm -f -- "$log"
    done
    [ "$up" -eq 1 ] || { _tx_log "could not start Xephyr"; return 1; }

    # What the prefix had, to give it back on stop ("-": no value).
    old=$(_tx_reg_value 'HKCU\Software\Wine\X11 Driver' UseXRandR) || old=-
    printf 'display :%s\npid %s Xephyr\nxrandr %s\n' "$n" "$pid" "$old" >"$pidfile"
    export TX_XEPHYR_PIDFILE=$pidfile
    export TX_XEPHYR_ORIG_DISPLAY=$DISPLAY
    _tx_log "started Xephyr on :$n (pid $pid); state in $pidfile"

    _tx_start_openbox ":$n" "$pidfile" || { tx_xephyr_stop; return 1; }
    # Set before the restart: Wine's desktop process reads the monitors once.
    if ! timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /t REG_SZ /d N /f \
        </dev/null >/dev/null 2>&1; then
        _tx_log "tx_xephyr_start: could not set UseXRandR in $WINEPREFIX"
        tx_xephyr_stop
        return 1
    fi
    export DISPLAY=:$n
    _tx_wine_restart "$WINEPREFIX" || { tx_xephyr_stop; return 1; }
    return 0
}

tx_xephyr_stop() {
    local pidfile=${TX_XEPHYR_PIDFILE:-} tag value old=- rc=0
    [ -n "$pidfile" ] || return 0 # nothing was started
    if [ -f "$pidfile" ]; then
        while read -r tag value; do
            [ "$tag" = xrandr ] && old=$value
        done <"$pidfile"
    fi
    # Wine's programs go with their server before their X display goes.
    tx_wine_stop
    export DISPLAY=$TX_XEPHYR_ORIG_DISPLAY
    if [ "$old" = - ]; then
        timeout 60 wine reg delete 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /f </dev/null >/dev/null 2>&1 || true
    else
        timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /t REG_SZ /d "$old" /f \
            </dev/null >/dev/null 2>&1 || rc=1
    fi
    if [ -f "$pidfile" ]; then
        # Kills only the processes the state file names (openbox, then Xephyr).
        tx_display_stop "$pidfile"
        rm -f -- "${pidfile%.pids}.xephyr.log"
    fi
    unset TX_XEPHYR_PIDFILE TX_XEPHYR_ORIG_DISPLAY
    _tx_wine_restart "$WINEPREFIX" || rc=1
    if [ "$old" = - ] && _tx_reg_value 'HKCU\Software\Wine\X11 Driver' UseXRandR >/dev/null; then rc=1; fi
    [ "$rc" -eq 0 ] || _tx_log "tx_xephyr_stop: could not give $WINEPREFIX back its X11 driver settings"
    return "$rc"
}
