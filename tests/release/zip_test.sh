#!/usr/bin/env bash
# The release zip of an already built Tellurix.exe: exactly its four files in
# their order, the program unchanged, the texts with CR LF only, every entry
# dated with the commit, and the same bytes when packed again; and the check
# of the third-party notices against the sources fails when they differ.
#   zip_test.sh TELLURIX_EXE
set -euo pipefail
exe=${1:?usage: zip_test.sh TELLURIX_EXE}
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/tellurix-zip-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/a" "$work/b"
"$repo/scripts/release.sh" --pack "$exe" "$work/a"
"$repo/scripts/release.sh" --pack "$exe" "$work/b"
zip=$work/a/Tellurix-$("$repo/scripts/version.sh")-win64.zip
cmp "$zip" "$work/b/${zip##*/}" || { echo "FAIL: packing the same files twice gave different zips"; exit 1; }

python3 - "$zip" "$exe" "$(git -C "$repo" log -1 --format=%ct)" <<'PY'
import re, sys, time, zipfile
zip_path, exe, epoch = sys.argv[1], sys.argv[2], int(sys.argv[3])
failures = []
with zipfile.ZipFile(zip_path) as archive:
    names = archive.namelist()
    if names != ["Tellurix.exe", "LIESMICH.txt", "LICENSE.txt", "THIRD-PARTY-NOTICES.txt"]:
        failures.append(f"entries {names}")
    if archive.read("Tellurix.exe") != open(exe, "rb").read():
        failures.append("Tellurix.exe is not the program that was built")
    for info in archive.infolist():
        if info.date_time != time.gmtime(epoch - epoch % 2)[:6]:
            failures.append(f"{info.filename} dated {info.date_time}, not with the commit")
        if info.filename.endswith(".txt"):
            text = archive.read(info)
            if b"\r\n" not in text or re.search(rb"\r(?!\n)|(?<!\r)\n", text):
                failures.append(f"{info.filename} has line ends other than CR LF")
for failure in failures:
    print("FAIL:", failure)
sys.exit(1 if failures else 0)
PY

# The notices check refuses notices that lost a word of any licence or a version.
for change in 's/Cosmin Truta\./Cosmin Truta/' 's/madler@alumni/madler@/' 's/Servicemarks (sm)/Servicemarks/' \
    's/Lockless Inc\. nor/Lockless nor/' 's/libpng [0-9.]*[0-9]/libpng/g' 's/zlib [0-9.]*[0-9]/zlib/g'; do
    sed "$change" "$repo/THIRD-PARTY-NOTICES.txt" >"$work/notices.txt"
    if cmp -s "$work/notices.txt" "$repo/THIRD-PARTY-NOTICES.txt" ||
        python3 "$repo/scripts/release.py" notices "$work/notices.txt" \
            "${TELLURIX_MINGW_PREFIX:-$repo/build/deps/mingw}" "$repo/build/deps/src" 2>/dev/null; then
        echo "FAIL: the notices check took notices changed by '$change'"
        exit 1
    fi
done
echo "ok: ${zip##*/} holds the four files, texts with CR LF; the notices are checked"
