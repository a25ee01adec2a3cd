#!/bin/sh
# Builds and runs the settings-file fuzzer.
# Usage: tests/fuzz/run_fuzz.sh [seconds] [build-dir]   (defaults: 60, build/fuzz)
# Exits non-zero when the fuzzer finds a crash or a broken invariant.
set -eu

seconds=${1:-60}
build=${2:-build/fuzz}
root=$(cd "$(dirname "$0")/../.." && pwd)

mkdir -p "$build/corpus" "$build/artifacts"
build=$(cd "$build" && pwd)

clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I "$root/src" -I "$root/tests/support" \
    "$root/tests/fuzz/preferences_fuzz.cpp" \
    "$root/src/settings/preferences_file.cpp" \
    "$root/src/core/text.cpp" \
    "$root/src/search/own_sites.cpp" "$root/src/search/keywords.cpp" "$root/src/search/catalogue.cpp" \
    "$root/src/search/former_sites.cpp" \
    "$root/src/search/search_url.cpp" "$root/src/formats/web_address.cpp" \
    "$root/tests/support/fake_platform/files.cpp" \
    -o "$build/preferences_fuzz"

# Seeds: the default file, a hand-edited one, a UTF-8 one and some odd shapes.
printf '[Einstellungen]\r\nFPS = 1\r\nDesign = 203\r\nSuchseite = google.de\r\n' > "$build/corpus/default.ini"
printf '\n  ;x\n[Fremd]\nwert = 1 \n\n[Einstellungen] alt\ndesign=205\nSuchseite =   name  \n[Danach]\nDesign=9' \
    > "$build/corpus/hand_edited.ini"
printf '\357\273\277[Einstellungen]\r\nSuchseite = caf\303\251\r\nFPS=207abc\r\n' > "$build/corpus/utf8.ini"
printf 'Design = 201\r[ Einstellungen ]\r\rDesign\r\n[open\n=\n;\n' > "$build/corpus/odd.ini"
printf '' > "$build/corpus/empty.ini"
printf '[Eigene Suchseiten]\r\nLEO = https://dict.leo.org/%%s\r\nx = http://a/%%s%%s\r\n[Kuerzel]\r\nl = LEO\r\n!w =\r\n' > "$build/corpus/own_sites.ini"

rm -f "$build/artifacts/"*
status=0
"$build/preferences_fuzz" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$build/artifacts/" "$build/corpus" > "$build/fuzz.log" 2>&1 || status=$?

findings=$(find "$build/artifacts" -type f | wc -l)
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/fuzz.log" | tail -n 1)
time=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$build/fuzz.log" | tail -n 1)
echo "runs: ${runs:-?}  time: ${seconds}s  execs/s: ${time:-?}  findings: $findings  (log: $build/fuzz.log)"

if [ "$status" -ne 0 ] || [ "$findings" -ne 0 ]; then
    grep -E 'invariant broken|ERROR|SUMMARY' "$build/fuzz.log" | head -n 20 || true
    ls "$build/artifacts"
    exit 1
fi
