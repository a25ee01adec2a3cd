# shellcheck shell=bash
# Steps shared by the soak and fault runs: everything of the end-to-end
# library (tests/e2e/lib.sh), plus the outside view of the running program
# through gui_resources.exe, a quicker hotkey and the ways of putting the bar
# away. Sourced by soak.sh and faults.sh; besides the end-to-end variables
# they need TELLURIX_GUI_RESOURCES, the helper's exe.
: "${TELLURIX_GUI_RESOURCES:?}"
SOAK_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=../e2e/lib.sh
. "$SOAK_DIR/../e2e/lib.sh"

# The run's size from the first argument: "short" (default) or "full".
soak_mode() {
    case ${1:-short} in
        short | full) echo "${1:-short}" ;;
        *) echo "usage: $0 [short|full]" >&2; exit 2 ;;
    esac
}

# A seed for the run's random choices: given in SOAK_SEED, or made up and
# printed so that a failing run can be repeated.
soak_seed() {
    SEED=${SOAK_SEED:-$(( $(date +%s%N) % 1000000 ))}
    RANDOM=$SEED
    log "random seed $SEED (repeat with SOAK_SEED=$SEED)"
}

# draw N: sets DRAWN to a random number 0 .. N-1 (N up to 2^30). (Not in a
# command substitution: a subshell reseeds RANDOM, and the run would no
# longer follow its seed.)
draw() { DRAWN=$(( ((RANDOM << 15) | RANDOM) % $1 )); }

# --- The program seen from inside Wine ---------------------------------------

# gui_figures [--idle] PID|NAME.exe: one line of the helper's figures.
gui_figures() {
    local line
    line=$(timeout 60 wine "$TELLURIX_GUI_RESOURCES" "$@" </dev/null 2>"$WORK_DIR/gui_resources.err" | tr -d '\r') ||
        fail "gui_resources $* failed: $(cat "$WORK_DIR/gui_resources.err" 2>/dev/null)"
    [ -n "$line" ] || fail "gui_resources $* printed nothing"
    echo "$line"
}

# figure NAME LINE: one number of a gui_figures line.
figure() { { grep -o "\\b$1=-\\?[0-9]*" <<<"$2" || true; } | head -n 1 | cut -d= -f2; }
# The titles of the process's visible top-level windows, "|" between them.
visible_titles() { sed -n 's/.* visible="\(.*\)"$/\1/p' <<<"$1"; }

# The Windows id of the one Tellurix.exe of this prefix.
windows_pid() { figure pid "$(gui_figures Tellurix.exe)"; }

# Waits (bounded) until the program waits for input: by then its start-up is
# done, and a first-start notice is on screen if one was due. Prints the
# figures at that moment.
wait_input_idle() { gui_figures --idle "${1:-Tellurix.exe}" 30; }

# --- The bar -------------------------------------------------------------------

# The hotkey, held only until the bar is on screen and active: one poll of
# the watcher has then seen all three keys. (lib.sh's show_bar holds them
# 250 ms as a person would; a thousand times that is minutes of waiting.)
summon() {
    focus_wine
    local shown=0
    xdotool keydown $KEY_CTRL_L keydown $KEY_SHIFT_L keydown $KEY_S
    wait_until 5 is_viewable "$MAIN_WIN" && shown=1
    xdotool keyup $KEY_S keyup $KEY_SHIFT_L keyup $KEY_CTRL_L
    [ "$shown" -eq 1 ] || fail "the hotkey did not show the bar"
    wait_until 5 is_active "$MAIN_WIN" || fail "the bar was shown but is not the active window"
}

# put_away escape|altf4: hides the bar with that key and waits until it is off
# the screen.
put_away() {
    if ! is_active "$MAIN_WIN"; then
        timeout 3 xdotool windowactivate --sync "$MAIN_WIN" 2>/dev/null || timeout 3 xdotool windowfocus --sync "$MAIN_WIN"
    fi
    case $1 in
        escape) xdotool key --clearmodifiers Escape ;;
        altf4) xdotool key --clearmodifiers alt+F4 ;;
    esac
    wait_until 5 is_hidden "$MAIN_WIN" || fail "$1 did not hide the bar"
}

# The site picker: a visible window of the program that is neither the bar
# nor the key target.
picker_window() {
    local id
    for id in $(xdotool search --onlyvisible --class 'tellurix' 2>/dev/null); do
        [ "$id" = "$MAIN_WIN" ] && continue
        [ "$id" = "$KEY_TARGET_WIN" ] && continue
        is_viewable "$id" && { echo "$id"; return 0; }
    done
    return 1
}
has_picker() { [ -n "$(picker_window)" ]; }
no_picker() { ! has_picker; }

# Opens the picker with a click on the site label and picks with Down (the
# first entry of the list).
pick_first_site() {
    click_control 1
    wait_until 5 has_picker || fail "a click on the site label opened no picker"
    xdotool key Down
    wait_until 5 no_picker || fail "Down in the picker did not pick and close it"
}

# The settings folder's entries other than the settings file itself.
stray_files() { find "$SETTINGS_DIR" -mindepth 1 -maxdepth 1 ! -name Einstellungen.ini ! -name Verlauf.txt -printf '%f\n' 2>/dev/null | sort; }
