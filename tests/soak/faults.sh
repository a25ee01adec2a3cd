#!/usr/bin/env bash
# Faults: the settings file under a killed save and under damaged content.
#
#   faults.sh [short|full]
#
# 1. Killed quits (full 100, short 10). The settings file is about 1 MB of
#    valid lines of the program's own form with the three keys in the middle,
#    and a run number so that every run's file differs from the last. Each
#    run picks another site and quits through control 7; the process (the
#    Wine process itself) is killed with SIGKILL at a random moment of that
#    quit: in half of the runs anywhere between the click and the measured
#    end of a quit, in the other half within the save, from its first trace
#    on disk to a little past the measured replacement. After the kill the
#    file must be byte for byte the old or the new content. Files left beside
#    it are reported; after a kill that leaves one, an unbroken quit must
#    still save exactly the new content and must not add another.
# 2. Damaged files (full 100, short 10, each ten runs one of every kind):
#    random bytes and binaries, truncated files, huge lines, NUL bytes, byte
#    order marks, a lone group header and other tiny files, 1 MB of "[" and
#    of other single characters, absurd numbers, tens of thousands of groups
#    or keys, a folder in the file's place. Each time the program must start,
#    answer the hotkey with the bar and end with code 0 through control 7;
#    the file it leaves must be read back at the next start without a
#    first-start notice and that start must quit the same way. A folder in
#    the file's place is a file that cannot be read: never a first start,
#    never replaced.
# A failing input is kept in $TMPDIR/tellurix-faults-kept and named in the log.
. "$(dirname "$0")/soak_lib.sh"

MODE=$(soak_mode "$@") || exit 2
case $MODE in
    full) KILL_RUNS=100 DAMAGED_RUNS=100 ;;
    short) KILL_RUNS=10 DAMAGED_RUNS=10 ;;
esac
soak_seed
KEEP_DIR=${TMPDIR:-/tmp}/tellurix-faults-kept
shopt -s nullglob

# keep FILE WHAT: keeps a copy of a failing input and names it.
keep() {
    mkdir -p -- "$KEEP_DIR"
    local copy
    copy=$KEEP_DIR/$(date +%Y%m%d-%H%M%S)-$2
    cp -r -- "$1" "$copy" 2>/dev/null && log "kept as $copy"
}

# quit_point: moves the pointer onto control 7 and lets it rest there, so
# that the click alone remains.
quit_point() {
    local px py
    read -r px py < <(control_point 7)
    xdotool mousemove "$px" "$py"
    sleep 0.1
}

# entries_in_settings_folder: how many names the settings folder holds.
entries_in_settings_folder() {
    local names=("$SETTINGS_DIR"/*)
    echo "${#names[@]}"
}

# ==============================================================================
# 1. Killed quits
# ==============================================================================

# About 1 MB of groups, comments and keys in exactly the form in which the
# program writes them (so an unbroken save changes only the site): head and
# tail go before and after the program's own group.
make_filler() {
    local first=$1 last=$2
    awk -v seed="$SEED" -v first="$first" -v last="$last" 'BEGIN {
        srand(seed + first)
        # Windows-1252 text, as the program writes it: \366 is an o umlaut.
        split("wetter nachrichten bahn fahrplan rezept kuchen lexikon karte routen kino w\366rterbuch", word, " ")
        if (first == 1) {
            printf "; Einstellungen von Tellurix und anderen Programmen\r\n"
            printf "Angelegt = 2023-04-01\r\n"
        }
        for (g = first; g <= last; g++) {
            printf "[Verlauf %04d]\r\n", g
            printf "; Suchen vom %02d.%02d.2023\r\n", 1 + g % 28, 1 + g % 12
            if (g % 50 == 7) printf "Suchseite = fremd-%d.example\r\n", g
            for (k = 1; k <= 48; k++) {
                w = word[1 + int(rand() * 11)]
                printf "Eintrag%03d = https://www.example.org/suche?q=%s+%d&seite=%d%s\r\n", k, w, g, \
                    int(rand() * 100), (k % 17 == 0 ? "  " : "")
            }
        }
    }'
}

# settings_text SITE RUN: the whole file of one run.
settings_text() {
    cat "$WORK_DIR/head.txt"
    printf '[Einstellungen]\r\nFPS = 0\r\nDesign = 205\r\nSuchseite = %s\r\nZuletzt benutzt = Lauf %s\r\n' "$1" "$2"
    printf '[Lauf]\r\nNummer = %s\r\n' "$2"
    cat "$WORK_DIR/tail.txt"
}

# site_in FILE: the value of Suchseite in the group Einstellungen.
site_in() {
    tr -d '\r' <"$1" |
        awk '/^\[/ { inside = ($0 == "[Einstellungen]") } inside && !found && /^Suchseite = / { print substr($0, 13); found = 1 }'
}

# prepare_run RUN: writes the old content in place and both contents aside.
prepare_run() {
    settings_text "$OLD_SITE" "$1" >"$WORK_DIR/old.ini"
    settings_text "$NEW_SITE" "$1" >"$WORK_DIR/new.ini"
    mkdir -p -- "$SETTINGS_DIR"
    cp -- "$WORK_DIR/old.ini" "$SETTINGS_FILE"
}

# Starts the program on the prepared file and picks the first site, so that
# the coming save has something new to write.
start_and_pick() {
    start_tellurix
    wait_input_idle >/dev/null
    summon
    pick_first_site
    is_viewable "$MAIN_WIN" || summon
}

# file_state: "old", "new" or "other".
file_state() {
    if cmp -s -- "$SETTINGS_FILE" "$WORK_DIR/old.ini"; then echo old
    elif cmp -s -- "$SETTINGS_FILE" "$WORK_DIR/new.ini"; then echo new
    else echo other
    fi
}

describe_difference() {
    local size
    size=$(stat -c %s "$SETTINGS_FILE" 2>/dev/null || echo missing)
    echo "size $size (old $(stat -c %s "$WORK_DIR/old.ini"), new $(stat -c %s "$WORK_DIR/new.ini"));" \
        "against the new content: $(cmp -- "$SETTINGS_FILE" "$WORK_DIR/new.ini" 2>&1 | head -n 1)"
}

# An unbroken quit on a prepared run: the file must hold the new content and
# nothing may be left beside it that was not there before.
unbroken_quit() {
    local before
    before=$(stray_files)
    start_and_pick
    quit_by_button
    [ "$(file_state)" = new ] || { keep "$SETTINGS_FILE" unbroken.ini; fail "an unbroken quit did not save the new content: $(describe_difference)"; }
    local after
    after=$(stray_files)
    [ -z "$(comm -13 <(echo "$before") <(echo "$after"))" ] ||
        fail "an unbroken quit left files beside the settings: $(comm -13 <(echo "$before") <(echo "$after") | tr '\n' ' ')"
}

# watch_quit: run in the background while the click on control 7 is sent.
# Polls the settings folder and the process as fast as bash can and prints
# "TMP REPLACED GONE", the microseconds from its start to the first new name
# in the folder, to the settings file being replaced and to the process
# ending (0 for what it did not see).
watch_quit() {
    local t0=${EPOCHREALTIME/./} now tmp=0 replaced=0 before names
    before=$(entries_in_settings_folder)
    while :; do
        now=${EPOCHREALTIME/./}
        names=("$SETTINGS_DIR"/*)
        if [ "$tmp" -eq 0 ] && [ "${#names[@]}" -gt "$before" ]; then tmp=$((now - t0)); fi
        if [ "$replaced" -eq 0 ] && [ "$SETTINGS_FILE" -nt "$WORK_DIR/marker" ]; then replaced=$((now - t0)); fi
        [ -d "/proc/$TX_PID" ] || break
        [ $((now - t0)) -lt 30000000 ] || break
    done
    echo "$tmp $replaced $((now - t0))"
}

# kill_in_quit MODE DELAY: run in the background while the click on control 7
# is sent. MODE "quit": kills the process DELAY microseconds after its own
# start. MODE "save": waits for the save to begin, that is for a new name in
# the settings folder (a temporary file) or for the settings file itself
# being written (newer than the marker), then kills DELAY microseconds later.
# Prints the moment of the kill in microseconds from its start.
kill_in_quit() {
    local mode=$1 delay=$2 t0=${EPOCHREALTIME/./} from before names
    if [ "$mode" = save ]; then
        before=$(entries_in_settings_folder)
        while :; do
            names=("$SETTINGS_DIR"/*)
            [ "${#names[@]}" -le "$before" ] || break
            [ ! "$SETTINGS_FILE" -nt "$WORK_DIR/marker" ] || break
            [ -d "/proc/$TX_PID" ] || break
            [ $((${EPOCHREALTIME/./} - t0)) -lt 30000000 ] || break
        done
    fi
    from=${EPOCHREALTIME/./}
    while [ $((${EPOCHREALTIME/./} - from)) -lt "$delay" ]; do :; done
    kill -9 "$TX_PID" 2>/dev/null || true
    echo $((${EPOCHREALTIME/./} - t0))
}

killed_quits() {
    log "killed quits: $KILL_RUNS runs"
    fresh_user
    make_filler 1 160 >"$WORK_DIR/head.txt"
    make_filler 161 320 >"$WORK_DIR/tail.txt"

    # Calibration: one unbroken quit, watched. It shows which site Down picks,
    # that the program writes the big file back unchanged apart from it, and
    # how long the parts of a quit take here.
    OLD_SITE=google.de
    NEW_SITE=google.de
    prepare_run 0
    start_and_pick
    quit_point
    : >"$WORK_DIR/marker"
    watch_quit >"$WORK_DIR/watch" &
    local watcher=$!
    xdotool click 1
    wait "$watcher"
    wait_for_exit "$TX_PID" 10
    expect_eq "$EXIT_CODE" 0 "the calibrating quit ends with code 0"
    local t_tmp t_replaced t_gone
    read -r t_tmp t_replaced t_gone <"$WORK_DIR/watch"
    NEW_SITE=$(site_in "$SETTINGS_FILE")
    [ -n "$NEW_SITE" ] && [ "$NEW_SITE" != "$OLD_SITE" ] || fail "the calibrating quit saved no other site ('$NEW_SITE')"
    settings_text "$NEW_SITE" 0 >"$WORK_DIR/new.ini"
    [ "$(file_state)" = new ] || { keep "$SETTINGS_FILE" calibration.ini; fail "the big file did not come back as written with the new site: $(describe_difference)"; }
    pass "a quit writes the $(stat -c %s "$SETTINGS_FILE")-byte file back with only the site changed ($OLD_SITE -> $NEW_SITE)"
    [ -z "$(stray_files)" ] || fail "the calibrating quit left files beside the settings: $(stray_files | tr '\n' ' ')"
    [ "$t_replaced" -gt 0 ] || fail "the watcher did not see the file being replaced"
    # Without a temporary file seen, the save window is taken as the last
    # 20 ms before the replacement.
    [ "$t_tmp" -gt 0 ] || t_tmp=$((t_replaced > 20000 ? t_replaced - 20000 : 0))
    log "calibration (from the click being sent): temporary file after $((t_tmp / 1000)) ms, file replaced" \
        "after $((t_replaced / 1000)) ms, process gone after $((t_gone / 1000)) ms"
    # Kill moments: over the whole quit (and a little beyond), or within the
    # save, from the temporary file appearing to a little past the replacement.
    local quit_span=$((t_gone + 10000)) save_span=$((t_replaced - t_tmp + 3000))

    local run mode span delay killed_at state strays_before strays_after new_strays
    local killed_old=0 killed_new=0 ended_alone=0 stray_runs=0 left_by_run
    for ((run = 1; run <= KILL_RUNS; run++)); do
        prepare_run "$run"
        start_and_pick
        quit_point
        if [ $((run % 2)) -eq 1 ]; then mode=quit span=$quit_span; else mode=save span=$save_span; fi
        draw "$span"
        delay=$DRAWN
        strays_before=$(stray_files)
        : >"$WORK_DIR/marker"
        kill_in_quit "$mode" "$delay" >"$WORK_DIR/killed_at" &
        local killer=$!
        xdotool click 1
        wait "$killer"
        killed_at=$(cat "$WORK_DIR/killed_at")
        wait_for_exit "$TX_PID" 10
        state=$(file_state)
        strays_after=$(stray_files)
        new_strays=$(comm -13 <(echo "$strays_before") <(echo "$strays_after") | grep -c . || true)
        local outcome
        case $EXIT_CODE in
            137) outcome="killed" ;;
            0) outcome="ended before the kill" ;;
            *) fail "run $run: the process ended with code $EXIT_CODE" ;;
        esac
        log "run $run: $outcome (kill $((killed_at / 1000)).$(printf '%03d' $((killed_at % 1000))) ms after" \
            "the click was sent, $mode mode): file $state, $new_strays new name(s) beside it"
        if [ "$state" = other ]; then
            keep "$SETTINGS_FILE" "killed-run-$run.ini"
            fail "after a kill in a quit the file is neither the old nor the new content: $(describe_difference)"
        fi
        if [ "$EXIT_CODE" -eq 0 ]; then
            expect_eq "$state" new "a quit that ended before the kill saved"
            ended_alone=$((ended_alone + 1))
        elif [ "$state" = old ]; then
            killed_old=$((killed_old + 1))
        else
            killed_new=$((killed_new + 1))
        fi
        if [ "$new_strays" -gt 0 ]; then
            [ "$EXIT_CODE" -eq 137 ] || fail "a quit that was not killed left $(echo "$strays_after" | tr '\n' ' ')"
            stray_runs=$((stray_runs + 1))
            left_by_run=$(comm -13 <(echo "$strays_before") <(echo "$strays_after") | tr '\n' ' ')
            log "the killed save left beside the settings: $left_by_run($(stat -c %s "$SETTINGS_DIR"/$left_by_run | tr '\n' ' ')bytes)"
            # A stale file from the killed save: the next save must not mind it.
            prepare_run "${run}b"
            unbroken_quit
            pass "with the stale file in place the next quit saves exactly the new content"
        fi
    done
    log "killed quits: $killed_old killed with the old file in place, $killed_new killed with the new one" \
        "in place, $ended_alone ended before the kill; $stray_runs kill(s) left a temporary file beside the settings"
    local left
    left=$(stray_files)
    [ -z "$left" ] || log "names beside the settings after all runs: $(echo "$left" | tr '\n' ' ')"
    # Killed saves must not pile files up in the user's folder: a save has one
    # temporary name, which the next save writes over.
    [ "$(grep -c . <<<"$left")" -le 1 ] || fail "temporary files pile up beside the settings: $(echo "$left" | tr '\n' ' ')"
    # However many are left, one more quit still saves and adds none.
    prepare_run final
    unbroken_quit
    pass "after $KILL_RUNS killed quits an unbroken quit saves exactly the new content"
    KILLED_SUMMARY="$killed_old killed before the replacement, $killed_new killed after it, $ended_alone ended"
    KILLED_SUMMARY+=" before the kill, $stray_runs left a stale temporary file"
}

# ==============================================================================
# 2. Damaged files
# ==============================================================================

VALID=$'[Einstellungen]\r\nFPS = 0\r\nDesign = 207\r\nSuchseite = dict.cc\r\n'

# repeat_bytes COUNT TEXT: TEXT (without a line end) over and over, COUNT
# bytes in all.
repeat_bytes() { yes -- "$2" | tr -d '\n' | head -c "$1" || true; }

# damage CASE FILE: writes damaged content number CASE to FILE (or puts a
# folder there) and sets WHAT to what it is. Ten kinds, CASE modulo 10; the
# variant within the kind follows from CASE / 10 and VARIANT_OFFSET, so that
# ten runs cover every kind and other seeds reach other variants.
damage() {
    local file=$2 kind=$(($1 % 10)) variant=$(($1 / 10 + VARIANT_OFFSET))
    case $kind in
        0)
            case $((variant % 5)) in
                0 | 1)
                    if [ $((variant % 5)) -eq 0 ]; then draw 65536; else draw 1048576; fi
                    head -c $((DRAWN + 1)) /dev/urandom >"$file"
                    WHAT="$((DRAWN + 1)) random bytes" ;;
                2) cp -- "$TELLURIX_EXE" "$file"; WHAT="the program file itself" ;;
                3) head -c 65536 "$TELLURIX_EXE" >"$file"; WHAT="the first 64 KB of the program file" ;;
                4) printf '%s' "$VALID" | gzip -c >"$file"; WHAT="a valid file, gzipped" ;;
            esac
            ;;
        1)
            draw ${#VALID}
            printf '%s' "${VALID:0:DRAWN}" >"$file"
            WHAT="a valid file cut after $DRAWN of ${#VALID} bytes"
            ;;
        2)
            case $((variant % 3)) in
                0) repeat_bytes 2097152 x >"$file"; WHAT="one line of 2 MB without an end" ;;
                1) { printf '[Einstellungen]\r\nFPS = 0\r\nSuchseite = '; repeat_bytes 1048576 a; printf '\r\n'; } >"$file"
                   WHAT="a site label of 1 MB" ;;
                2) { printf '[Einstellungen]\r\n'; repeat_bytes 1048576 Design; printf ' = 204\r\nFPS = 0\r\n'; } >"$file"
                   WHAT="a key of 1 MB" ;;
            esac
            ;;
        3)
            case $((variant % 3)) in
                0) head -c 65536 /dev/zero >"$file"; WHAT="64 KB of NUL bytes" ;;
                1) printf '[Einstel\000lungen]\r\nFPS = 0\000\r\nDesign = 2\00003\r\nSuchseite = go\000ogle.de\r\n' >"$file"
                   WHAT="NUL bytes inside the header, the keys and the values" ;;
                2) { printf '%s' "${VALID:0:20}"; printf '\000'; printf '%s' "${VALID:20}"; } >"$file"
                   WHAT="a NUL byte in the valid file" ;;
            esac
            ;;
        4)
            case $((variant % 8)) in
                0) printf '\xef\xbb\xbf%s' "$VALID" >"$file"; WHAT="UTF-8 byte order mark and a valid file" ;;
                1) printf '\xef\xbb\xbf' >"$file"; WHAT="only a UTF-8 byte order mark" ;;
                2) printf '\xef\xbb' >"$file"; WHAT="two bytes of a byte order mark" ;;
                3) printf '\xef\xbb\xbf\xef\xbb\xbf%s' "$VALID" >"$file"; WHAT="two UTF-8 byte order marks" ;;
                4) { printf '\xff\xfe'; printf '%s' "$VALID" | iconv -f CP1252 -t UTF-16LE; } >"$file"
                   WHAT="UTF-16LE with its mark" ;;
                5) { printf '\xfe\xff'; printf '%s' "$VALID" | iconv -f CP1252 -t UTF-16BE; } >"$file"
                   WHAT="UTF-16BE with its mark" ;;
                6) printf '\xef\xbb\xbf[Einstellungen]\r\nFPS = 0\r\nSuchseite = \xfc\xfd\xc3\r\n' >"$file"
                   WHAT="UTF-8 mark and a site of malformed UTF-8" ;;
                7) printf '\xef\xbb\xbf[Einstellungen]\r\nFPS = 0\r\nSuchseite = W\xc3\xb6rter \xf0\x9f\x98\x80\r\n' >"$file"
                   WHAT="UTF-8 mark and a site beyond Latin-1" ;;
            esac
            ;;
        5)
            local tiny=('[Einstellungen]' $'[Einstellungen]\r\n' '[]' '[' '' $'\r' ' ' '=' ';' $'\n\n\n')
            printf '%s' "${tiny[$((variant % ${#tiny[@]}))]}" >"$file"
            WHAT="a file of $(stat -c %s "$file") byte(s):$(od -An -c "$file" | tr -s ' \n' '  ')"
            ;;
        6)
            case $((variant % 7)) in
                0) repeat_bytes 1048576 '[' >"$file"; WHAT="1 MB of '['" ;;
                1) { yes $'\r' | head -c 1048576 || true; } >"$file"; WHAT="1 MB of line ends" ;;
                2) repeat_bytes 1048576 '=' >"$file"; WHAT="1 MB of '='" ;;
                3) repeat_bytes 1048576 ';' >"$file"; WHAT="1 MB of ';'" ;;
                4) repeat_bytes 1048576 $' \t]' >"$file"; WHAT="1 MB of blanks, tabs and ']'" ;;
                5) { repeat_bytes 1048576 '['; printf '\r\n%s' "$VALID"; } >"$file"; WHAT="1 MB of '[' before a valid file" ;;
                6) { printf '['; repeat_bytes 1048576 Einstellungen; } >"$file"; WHAT="a group header of 1 MB without ']'" ;;
            esac
            ;;
        7)
            local values=('Design = 99999999999999999999' 'Design = -2147483648' 'Design = 0x1FF' 'Design = 205abc'
                'Design =' 'FPS = 2147483648' 'FPS = -1' 'Suchseite =' $'Suchseite = \x80\x81\xfe\xff'
                'Suchseite = C:\windows\notepad.exe')
            local value=${values[$((variant % ${#values[@]}))]}
            printf '[Einstellungen]\r\nFPS = 0\r\n%s\r\n' "$value" >"$file"
            WHAT="the line '$(printf '%s' "$value" | cat -v)'"
            ;;
        8)
            case $((variant % 3)) in
                0) seq 1 50000 | sed 's/.*/[Gruppe &]\r/' >"$file"; WHAT="50000 groups" ;;
                1) { printf '[Einstellungen]\r\n'; seq 1 50000 | sed 's/.*/Schluessel& = &\r/'; printf 'FPS = 0\r\n'; } >"$file"
                   WHAT="50000 keys in the program's group" ;;
                2) for ((i = 0; i < 2000; i++)); do printf '%s' "$VALID"; done >"$file"
                   WHAT="the program's group 2000 times" ;;
            esac
            ;;
        9)
            mkdir -p -- "$file"
            WHAT="a folder in the file's place"
            if [ $((variant % 2)) -eq 1 ]; then
                printf '%s' "$VALID" >"$file/Einstellungen.ini"
                WHAT+=", with a settings file inside"
            fi
            ;;
    esac
}

# One start on whatever is in place: a first-start notice is answered, the
# hotkey must bring the bar, control 7 must end the program with code 0.
# Sets NOTICE to 1 when the notice came.
start_answer_quit() {
    start_tellurix
    local figures
    figures=$(wait_input_idle)
    NOTICE=0
    case "|$(visible_titles "$figures")|" in
        *"|Erster Start|"*) NOTICE=1; dismiss "Erster Start" ;;
    esac
    summon
    quit_by_button
}

damaged_files() {
    log "damaged files: $DAMAGED_RUNS runs"
    draw 1000
    VARIANT_OFFSET=$DRAWN
    local run notices=0 started first_notice
    for ((run = 0; run < DAMAGED_RUNS; run++)); do
        fresh_user
        mkdir -p -- "$SETTINGS_DIR"
        rm -rf -- "$WORK_DIR/input"
        damage "$run" "$SETTINGS_FILE"
        log "damaged run $run: $WHAT"
        cp -r -- "$SETTINGS_FILE" "$WORK_DIR/input"
        started=$(now_ms)
        # A failing step exits through fail(); keep the input first.
        trap 'keep "$WORK_DIR/input" "damaged-run-'"$run"'.in"; cleanup' EXIT
        start_answer_quit
        first_notice=$NOTICE
        notices=$((notices + NOTICE))
        [ -z "$(stray_files)" ] || fail "files left beside the settings: $(stray_files | tr '\n' ' ')"
        if [ -d "$SETTINGS_FILE" ]; then
            start_answer_quit
            [ "$((first_notice + NOTICE))" -eq 0 ] || fail "a folder in the file's place was taken for a first start"
            [ -d "$SETTINGS_FILE" ] || fail "the folder in the file's place was replaced"
        else
            [ -s "$SETTINGS_FILE" ] || fail "the quit left an empty settings file"
            start_answer_quit
            [ "$NOTICE" -eq 0 ] || fail "the file saved over $WHAT is not read back: the first-start notice came again"
        fi
        trap cleanup EXIT
        pass "damaged run $run ($WHAT): started, answered the hotkey, quit with code 0, twice" \
            "(first-start notice at the first start: $first_notice; $(($(now_ms) - started)) ms)"
    done
    DAMAGED_SUMMARY="$DAMAGED_RUNS damaged files survived, $notices with a first-start notice"
}

killed_quits
damaged_files
log "$MODE fault run done: killed quits: $KILLED_SUMMARY; $DAMAGED_SUMMARY"
