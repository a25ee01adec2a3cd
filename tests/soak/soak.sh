#!/usr/bin/env bash
# Soak: one Tellurix.exe, started once, called up and put away again and
# again, searching, activating designs and picking sites, while its objects
# and its memory are watched from inside Wine. It must live through all of it
# and end up holding what it held after the warm-up.
#
#   soak.sh [short|full]
#
# full:  1000 hotkey show/hide cycles, 200 searches, 100 design activations,
#        100 picker openings, in 10 rounds with a sample after each;
# short: a tenth of each, in 4 rounds.
#
# What is compared (last sample against the one after the warm-up):
# - GDI objects may grow by GDI_TOLERANCE: GetGuiResources where it answers;
#   under Wine, which answers nothing there, the entries in use in the
#   process's GDI handle table (gui_resources.c reads it; Wine fills it as
#   Windows does).
# - USER objects may grow by USER_TOLERANCE where GetGuiResources counts
#   them. Wine does not; the windows of the process stand in for them there.
# - Windows of the process (top-level and child, counted by enumeration) may
#   grow by WINDOW_TOLERANCE.
# - Kernel handles may grow by HANDLE_TOLERANCE. (Wine reports the size of the
#   process's handle table, which doubles when it fills: any growth there
#   means more handles than ever during the warm-up.)
# - Threads may grow by THREAD_TOLERANCE.
# - The working set may grow by MEMORY_BOUND_KB. (Over a full run it grows by
#   a few dozen KB here; a leak of a kilobyte per show/hide cycle exceeds the
#   bound in a full run.)
. "$(dirname "$0")/soak_lib.sh"

MODE=$(soak_mode "$@") || exit 2
case $MODE in
    full) CYCLES=1000 SEARCHES=200 DESIGNS=100 PICKS=100 ROUNDS=10 ;;
    short) CYCLES=100 SEARCHES=20 DESIGNS=10 PICKS=10 ROUNDS=4 ;;
esac

GDI_TOLERANCE=4
USER_TOLERANCE=4
WINDOW_TOLERANCE=2
HANDLE_TOLERANCE=16
THREAD_TOLERANCE=2
MEMORY_BOUND_KB=1024

DESIGN_TITLE="Design wechseln"
soak_seed

# --- Samples -------------------------------------------------------------------
SAMPLES=()
# sample LABEL: takes the figures, checks that the program is still there,
# prints one row of the table and keeps the line.
sample() {
    process_alive "$TX_PID" || fail "the program died ($1)"
    local line
    line=$(gui_figures "$WIN_PID")
    SAMPLES+=("$line")
    printf '  %-16s %9s %6s %6s %9s %8s %8s %8s\n' "$1" "$(figure working_set_kb "$line")" \
        "$(figure gdi "$line")" "$(figure user "$line")" "$(figure gdi_table "$line")" \
        "$(figure windows "$line")" "$(figure handles "$line")" "$(figure threads "$line")" >&2
}
sample_header() {
    printf '  %-16s %9s %6s %6s %9s %8s %8s %8s\n' sample ws_kb gdi user gdi_table windows handles threads >&2
}

# --- The four activities ---------------------------------------------------------
CYCLES_DONE=0 SEARCHES_DONE=0 DESIGNS_DONE=0 PICKS_DONE=0
EXPECTED_TERMS=()
LAST_DESIGN=

show_hide_cycle() {
    summon
    # Both ways of putting the bar away, in turn.
    if [ $((CYCLES_DONE % 2)) -eq 0 ]; then put_away escape; else put_away altf4; fi
    CYCLES_DONE=$((CYCLES_DONE + 1))
}

search_once() {
    local term before
    draw 100000
    term="soak${SEARCHES_DONE}x$DRAWN"
    summon
    before=$(url_count)
    xdotool type --delay 10 -- "$term"
    xdotool key Return
    wait_until 5 is_hidden "$MAIN_WIN" || fail "the bar stayed visible after searching '$term'"
    wait_until 20 bash -c "[ \$(wc -l <'$TELLURIX_URL_LOG') -gt $before ]" ||
        fail "no URL reached the browser for '$term'"
    EXPECTED_TERMS+=("$term")
    SEARCHES_DONE=$((SEARCHES_DONE + 1))
}

design_window() { find_visible "$DESIGN_TITLE"; }
no_design_window() { [ -z "$(design_window)" ]; }
click_design() {
    local x y w h
    read -r x y w h < <(geometry "$(design_window)")
    click_at $((x + $1)) $((y + $2))
}

# Opens the design window (it starts on design 1), steps forward one to three
# designs and activates the one shown.
activate_design() {
    local steps=$((DESIGNS_DONE % 3 + 1)) i
    summon
    click_control 5
    wait_until 5 has_visible "$DESIGN_TITLE" || fail "control 5 opened no design window"
    for ((i = 0; i < steps; i++)); do
        click_design 240 20
        sleep 0.15
    done
    click_design 90 50
    wait_until 5 no_design_window || fail "'Aktivieren' did not close the design window"
    LAST_DESIGN=$((200 + steps))
    put_away escape
    DESIGNS_DONE=$((DESIGNS_DONE + 1))
}

open_picker() {
    summon
    pick_first_site
    put_away altf4
    PICKS_DONE=$((PICKS_DONE + 1))
}

# share TOTAL ROUND: how many of TOTAL fall into ROUND (1 .. ROUNDS).
share() { echo $(($1 * $2 / ROUNDS - $1 * ($2 - 1) / ROUNDS)); }

# --- The run -------------------------------------------------------------------------
fresh_user
seed_settings 203 google.de
start_tellurix
wait_input_idle >/dev/null
WIN_PID=$(windows_pid)
log "$MODE soak of Tellurix.exe (Windows pid $WIN_PID): $CYCLES cycles, $SEARCHES searches, $DESIGNS designs, $PICKS picks"
started=$(now_ms)

# Warm-up: each activity a few times, so that what is made once and kept
# (window classes, the design window's pictures, the browser's registration)
# is in place before the first sample.
for ((i = 0; i < 10; i++)); do show_hide_cycle; done
for ((i = 0; i < 2; i++)); do search_once; activate_design; open_picker; done
sample_header
sample "after warm-up"
BASELINE=${SAMPLES[0]}

for ((round = 1; round <= ROUNDS; round++)); do
    for ((i = $(share $CYCLES $round); i > 0; i--)); do show_hide_cycle; done
    for ((i = $(share $SEARCHES $round); i > 0; i--)); do search_once; done
    for ((i = $(share $DESIGNS $round); i > 0; i--)); do activate_design; done
    for ((i = $(share $PICKS $round); i > 0; i--)); do open_picker; done
    sample "round $round/$ROUNDS"
done
FINAL=${SAMPLES[-1]}
log "$CYCLES_DONE cycles, $SEARCHES_DONE searches, $DESIGNS_DONE designs, $PICKS_DONE picks (warm-up included) in $((($(now_ms) - started) / 1000)) s"

# --- Verdict ------------------------------------------------------------------------
# within NAME TOLERANCE: the last sample's NAME is at most the warm-up's plus
# TOLERANCE.
within() {
    local before after
    before=$(figure "$1" "$BASELINE")
    after=$(figure "$1" "$FINAL")
    [ "$after" -le $((before + $2)) ] || fail "$1 grew from $before to $after (tolerance $2)"
    pass "$1: $before after the warm-up, $after at the end (tolerance $2)"
}

gdi=$(figure gdi "$BASELINE")
gdi_table=$(figure gdi_table "$BASELINE")
if [ "$gdi" -gt 0 ]; then
    within gdi $GDI_TOLERANCE
elif [ "$gdi_table" -gt 0 ]; then
    log "GetGuiResources counts no GDI objects here (gdi=$gdi): the process's GDI handle table is counted instead"
    within gdi_table $GDI_TOLERANCE
else
    fail "no way to count the GDI objects of the process (gdi=$gdi gdi_table=$gdi_table)"
fi
user=$(figure user "$BASELINE")
if [ "$user" -gt 0 ]; then
    within user $USER_TOLERANCE
else
    log "GetGuiResources counts no USER objects here (user=$user): only the windows among them are counted"
fi
within windows $WINDOW_TOLERANCE
handles=$(figure handles "$BASELINE")
if [ "$handles" -gt 0 ]; then within handles $HANDLE_TOLERANCE; else log "no handle count here"; fi
within threads $THREAD_TOLERANCE
ws=$(figure working_set_kb "$BASELINE")
[ "$ws" -gt 0 ] || fail "no working set for the process"
within working_set_kb $MEMORY_BOUND_KB

# Every search reached the browser once, with its own term.
expect_eq "$(url_count)" "${#EXPECTED_TERMS[@]}" "every search reached the browser once"
got=$(recorded_urls | grep -o 'soak[0-9]*x[0-9]*' | sort || true)
want=$(printf '%s\n' "${EXPECTED_TERMS[@]}" | sort)
[ "$got" = "$want" ] || fail "the browser got other terms than were searched: $(diff <(echo "$want") <(echo "$got") | head -n 5)"
pass "the browser got exactly the ${#EXPECTED_TERMS[@]} terms searched"

# The program still quits properly and saves the last design and site picked.
quit_by_button
grep -q "^Design = $LAST_DESIGN"$'\r'"\$" "$SETTINGS_FILE" ||
    fail "the last design activated ($LAST_DESIGN) was not saved: $(tr -d '\r' <"$SETTINGS_FILE" | tr '\n' ' ')"
grep -q '^Suchseite = google.de' "$SETTINGS_FILE" && fail "the site picked was not saved"
pass "the last design ($LAST_DESIGN) and the picked site are saved"
