#!/bin/sh
# Builds and runs the fuzzers: the settings file, the answers of suggestion
# sources, the history file, the hotkey's chord and the search bar as a whole.
# The seconds are shared among the five.
# Usage: tests/fuzz/run_fuzz.sh [seconds] [build-dir]   (defaults: 60, build/fuzz)
# Exits non-zero when a fuzzer finds a crash or a broken invariant.
set -eu

seconds=${1:-60}
build=${2:-build/fuzz}
root=$(cd "$(dirname "$0")/../.." && pwd)

mkdir -p "$build/corpus" "$build/artifacts" "$build/answers" "$build/answer_artifacts" \
    "$build/history" "$build/history_artifacts" "$build/chords" "$build/chord_artifacts" \
    "$build/bar" "$build/bar_artifacts"
build=$(cd "$build" && pwd)

FUZZ_FLAGS="-std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined"
# The fuzzers are built side by side, one compiler for each; every build must succeed.
pids=""

# shellcheck disable=SC2086
clang++ $FUZZ_FLAGS \
    -I "$root/src" -I "$root/tests/support" \
    "$root/tests/fuzz/preferences_fuzz.cpp" \
    "$root/src/settings/preferences_file.cpp" \
    "$root/src/core/text.cpp" \
    "$root/src/search/own_sites.cpp" "$root/src/search/keywords.cpp" "$root/src/search/catalogue.cpp" \
    "$root/src/search/former_sites.cpp" \
    "$root/src/search/search_url.cpp" "$root/src/formats/web_address.cpp" \
    "$root/tests/support/fake_platform/files.cpp" \
    -o "$build/preferences_fuzz" &
pids="$pids $!"

# cJSON from Debian's source package that scripts/setup.sh unpacked, built
# with the fuzzer's instrumentation, so that its own code is searched and
# checked too; the system's library when that source is not there.
cjson_source=$(ls -d "$root"/build/deps/src/cjson-*/ 2>/dev/null | sort -V | tail -n 1)
if [ -n "$cjson_source" ] && [ -f "$cjson_source/cJSON.c" ]; then
    mkdir -p "$build/include/cjson"
    cp "$cjson_source/cJSON.h" "$build/include/cjson/cJSON.h"
    clang -g -O1 -fsanitize=fuzzer-no-link,address,undefined -c "$cjson_source/cJSON.c" -o "$build/cJSON.o"
    cjson="-I $build/include $build/cJSON.o"
else
    cjson="-lcjson"
fi
# shellcheck disable=SC2086
clang++ $FUZZ_FLAGS \
    -I "$root/src" \
    "$root/tests/fuzz/suggestion_answer_fuzz.cpp" \
    "$root/src/search/suggestion_answer.cpp" "$root/src/search/suggestion_rows.cpp" \
    "$root/src/core/case_fold.cpp" "$root/src/core/text.cpp" \
    $cjson -o "$build/suggestion_answer_fuzz" &
pids="$pids $!"

# shellcheck disable=SC2086
clang++ $FUZZ_FLAGS \
    -I "$root/src" \
    "$root/tests/fuzz/history_fuzz.cpp" \
    "$root/src/search/history.cpp" "$root/src/core/text.cpp" \
    -o "$build/history_fuzz" &
pids="$pids $!"

# shellcheck disable=SC2086
clang++ $FUZZ_FLAGS \
    -I "$root/src" \
    "$root/tests/fuzz/hotkey_chord_fuzz.cpp" "$root/src/core/hotkey_chord.cpp" \
    -o "$build/hotkey_chord_fuzz" &
pids="$pids $!"

# shellcheck disable=SC2086
clang++ $FUZZ_FLAGS \
    -I "$root/src" -I "$root/tests/support" \
    "$root/tests/fuzz/search_bar_fuzz.cpp" \
    "$root/src/search/search_bar.cpp" "$root/src/search/catalogue.cpp" "$root/src/search/former_sites.cpp" \
    "$root/src/search/history.cpp" "$root/src/search/keywords.cpp" "$root/src/search/own_sites.cpp" \
    "$root/src/search/search_url.cpp" "$root/src/search/suggestion_rows.cpp" \
    "$root/src/settings/own_sites_file.cpp" "$root/src/settings/preferences_file.cpp" \
    "$root/src/core/case_fold.cpp" "$root/src/core/text.cpp" "$root/src/formats/web_address.cpp" \
    "$root/tests/support/fake_platform/files.cpp" \
    -o "$build/search_bar_fuzz" &
pids="$pids $!"

for pid in $pids; do wait "$pid"; done

# Seeds (the first byte picks: 0 the file as it is, 2 its text as UTF-16 LE,
# 3 as UTF-16 BE): the default file, a hand-edited one, a UTF-8 one, some odd
# shapes, and UTF-16 ones, one of them with a lone surrogate and an odd last byte.
printf '\000[Einstellungen]\r\nFPS = 1\r\nDesign = 203\r\nSuchseite = google.de\r\n' > "$build/corpus/default.ini"
printf '\000\n  ;x\n[Fremd]\nwert = 1 \n\n[Einstellungen] alt\ndesign=205\nSuchseite =   name  \n[Danach]\nDesign=9' \
    > "$build/corpus/hand_edited.ini"
printf '\000\357\273\277[Einstellungen]\r\nSuchseite = caf\303\251\r\nFPS=207abc\r\n' > "$build/corpus/utf8.ini"
printf '\000Design = 201\r[ Einstellungen ]\r\rDesign\r\n[open\n=\n;\n' > "$build/corpus/odd.ini"
printf '\000' > "$build/corpus/empty.ini"
printf '\000[Eigene Suchseiten]\r\nLEO = https://dict.leo.org/%%s\r\nx = http://a/%%s%%s\r\n[Kuerzel]\r\nl = LEO\r\n!w =\r\n' > "$build/corpus/own_sites.ini"
printf '\002[Einstellungen]\r\nSuchseite = caf\303\251 \360\237\230\200\r\nFPS=1\r\n' > "$build/corpus/utf16le.ini"
printf '\003; Notiz\r\n[Einstellungen]\r\nDesign = 0203\r\n' > "$build/corpus/utf16be.ini"
printf '\000\377\376[\000E\000]\000\r\000\n\000x\000=\000\000\330\n\000\075' > "$build/corpus/utf16_raw.ini"

# Seeds of history files (two bytes of limit, then how many of the last bytes
# times three are the search): a plain one, one with a mark, repeats and odd
# lines, and one with a long search.
printf '\000\062\001wetter\r\nM\303\274nchen\r\nleo\r\ncaf\303\251\r\nleo' > "$build/history/plain.txt"
printf '\000\003\000\357\273\277a\r\na\n\r\n\377\r\nb\rc\nd\r\ne' > "$build/history/odd.txt"
printf '\001\364\310x\r\n%0600d' 0 > "$build/history/long.txt"

# Seeds of answers (the first byte picks the Content-Type): a plain one, one
# with descriptions, escapes and surrogate pairs, Latin-1, and odd shapes.
printf '\001["wet",["wetter","wetter morgen"]]' > "$build/answers/plain.json"
printf '\000["wet",["wetter","wetterau"],["",""],[],{"google:suggestsubtypes":[[512],[433]]}]' \
    > "$build/answers/google.json"
printf '\001["m",["M\\u00fcnchen","\\ud83d\\ude00","a\\nb","\\u0000","x\\\\u0000","\\u2028"]]' \
    > "$build/answers/escapes.json"
printf '\002["m",["M\374nchen","\200"]]' > "$build/answers/latin1.json"
printf '\000[[[["a"]]],{"a":[1,2.5e3,true,null]},"b"]' > "$build/answers/odd.json"

# Seeds of chords, and the names a chord is made of.
printf 'LStrg+LUmschalt+S' > "$build/chords/standard.txt"
printf ' strg + ALT + k ' > "$build/chords/blanks.txt"
printf 'RWin+RAlt+F13' > "$build/chords/function.txt"
printf 'Win+Umschalt+S' > "$build/chords/taken.txt"
for name in Strg LStrg RStrg Umschalt LUmschalt RUmschalt Alt LAlt RAlt Win LWin RWin Leertaste F4 F13 F24 L Q +; do
    printf '"%s"\n' "$name"
done > "$build/chords.dict"

# Seeds of the bar (the settings file, a NUL, then the steps; see the fuzzer):
# an own site chosen and searched, then through its keyword; a keyword with
# rows of the web picked.
printf '[Eigene Suchseiten]\r\nLEO = https://dict.leo.org/%%s\r\nX = https://x.example/?q=%%s#t\r\n[Kuerzel]\r\nl = LEO\r\n\000\007\200\000\005Haus \010\001\007\001\004Baum\010\002\003\010' \
    > "$build/bar/own_sites.bin"
printf '[Kuerzel]\r\nw = wikipedia.org\r\n\000\001\007\001\002Be\005\002\000\003rli\004\001\010\011\004a\r\nb\002\002\010' \
    > "$build/bar/keywords.bin"
for word in '[Eigene Suchseiten]' '[Kuerzel]' ' = ' '\x0D\x0A' 'https://' 'http://' '%s' '@' ':' '/' '?q=' '#'; do
    printf '"%s"\n' "$word"
done > "$build/bar.dict"

# Runs one fuzzer for its share of the time and reports what it found.
status=0
run() {
    name=$1 share=$2 corpus=$3 artifacts=$4
    shift 4
    rm -f "$artifacts/"*
    run_status=0
    "$build/$name" -max_total_time="$share" -timeout=10 -print_final_stats=1 "$@" \
        -artifact_prefix="$artifacts/" "$corpus" > "$build/$name.log" 2>&1 || run_status=$?
    findings=$(find "$artifacts" -type f | wc -l)
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/$name.log" | tail -n 1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$build/$name.log" | tail -n 1)
    echo "$name: runs: ${runs:-?}  time: ${share}s  execs/s: ${rate:-?}  findings: $findings  (log: $build/$name.log)"
    if [ "$run_status" -ne 0 ] || [ "$findings" -ne 0 ]; then
        grep -E 'invariant broken|ERROR|SUMMARY' "$build/$name.log" | head -n 20 || true
        ls "$artifacts"
        status=1
    fi
}

# libFuzzer takes 0 seconds as "no limit": each gets at least one. The chord's
# grammar is small and gets half a share.
each=$((seconds / 5))
[ "$each" -ge 1 ] || each=1
chord_seconds=$((each / 2))
[ "$chord_seconds" -ge 1 ] || chord_seconds=1
settings_seconds=$((seconds - 3 * each - chord_seconds))
[ "$settings_seconds" -ge 1 ] || settings_seconds=1
run preferences_fuzz "$settings_seconds" "$build/corpus" "$build/artifacts"
run suggestion_answer_fuzz "$each" "$build/answers" "$build/answer_artifacts" -max_len=16384
run history_fuzz "$each" "$build/history" "$build/history_artifacts" -max_len=8192
run hotkey_chord_fuzz "$chord_seconds" "$build/chords" "$build/chord_artifacts" -max_len=64 -dict="$build/chords.dict"
run search_bar_fuzz "$each" "$build/bar" "$build/bar_artifacts" -max_len=4096 -dict="$build/bar.dict"
exit "$status"
