#!/usr/bin/env bash
# Builds the Windows release of Tellurix from the commit HEAD and packs it.
#
#   scripts/release.sh                    dist/Tellurix-<version>-win64.zip and dist/SHA256SUMS
#   scripts/release.sh --check            builds twice, in two temporary folders, and compares
#                                         the zips: prints both hashes, fails when they differ
#   scripts/release.sh --pack EXE FOLDER  packs an already built Tellurix.exe into FOLDER
#                                         (the zip's test uses this)
#
# The zip holds Tellurix.exe, LIESMICH.txt, LICENSE.txt and THIRD-PARTY-NOTICES.txt
# and is the same, byte for byte, wherever and whenever the same commit is
# built: every entry is dated with the commit's time and the program is built
# from `git archive HEAD` (uncommitted changes are not part of it) against the
# libpng that the set-up built. Needs the machine set up once (scripts/test.sh
# or scripts/setup.sh).
set -euo pipefail

REPO_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
JOBS=$(nproc 2>/dev/null || echo 2)
VERSION=$("$REPO_DIR/scripts/version.sh")
ZIP_NAME=Tellurix-$VERSION-win64.zip
MINGW_PREFIX=${TELLURIX_MINGW_PREFIX:-$REPO_DIR/build/deps/mingw}

say() { printf '[release] %s\n' "$*" >&2; }
die() { printf '[release] ERROR: %s\n' "$*" >&2; exit 1; }

[ -f "$MINGW_PREFIX/lib/libpng.a" ] || die "no MinGW libpng in $MINGW_PREFIX: run scripts/setup.sh first"
EPOCH=$(git -C "$REPO_DIR" log -1 --format=%ct) || die "$REPO_DIR is not a git checkout"

# pack EXE FOLDER TEXTS: the zip of EXE and the texts in TEXTS, into FOLDER.
pack() {
    python3 "$REPO_DIR/scripts/release.py" notices "$3/THIRD-PARTY-NOTICES.txt" "$MINGW_PREFIX" \
        "$REPO_DIR/build/deps/src"
    python3 "$REPO_DIR/scripts/release.py" pack "$2/$ZIP_NAME" "$EPOCH" "$1" "$3"
}

# build WORK: HEAD into WORK/src, built in WORK/build, packed into WORK.
build() {
    local work=$1
    if [ -n "$(git -C "$REPO_DIR" status --porcelain --untracked-files=no)" ]; then
        say "note: uncommitted changes are not part of the build; it is made from HEAD"
    fi
    rm -rf "$work"
    mkdir -p "$work/src"
    git -C "$REPO_DIR" archive --format=tar HEAD | tar -x -C "$work/src"
    say "building $(git -C "$REPO_DIR" rev-parse --short HEAD) in $work/build"
    if ! {
        TELLURIX_MINGW_PREFIX=$MINGW_PREFIX cmake -S "$work/src" -B "$work/build" \
            -DCMAKE_TOOLCHAIN_FILE="$work/src/cmake/toolchain-mingw-x86_64.cmake" -DCMAKE_BUILD_TYPE=MinSizeRel \
            -DTELLURIX_TESTS=OFF -DTELLURIX_BENCH=OFF -DTELLURIX_E2E=OFF &&
            cmake --build "$work/build" -j "$JOBS" --target Tellurix
    } >"$work/build.log" 2>&1; then
        tail -n 30 "$work/build.log" >&2
        die "build failed (log: $work/build.log)"
    fi
    pack "$work/build/Tellurix.exe" "$work" "$work/src"
}

sha256() { sha256sum "$1" | cut -d' ' -f1; }

case ${1:-} in
--pack)
    [ $# -eq 3 ] || die "usage: $0 --pack EXE FOLDER"
    pack "$2" "$3" "$REPO_DIR"
    ;;
--check)
    first=$(mktemp -d "${TMPDIR:-/tmp}/tellurix-release-a.XXXXXX")
    second=$(mktemp -d "${TMPDIR:-/tmp}/tellurix-release-b.XXXXXX")
    # Folders of different lengths, built one after the other.
    build "$first/r"
    build "$second/another/folder"
    hash_first=$(sha256 "$first/r/$ZIP_NAME")
    hash_second=$(sha256 "$second/another/folder/$ZIP_NAME")
    printf '%s  %s\n' "$hash_first" "$first/r/$ZIP_NAME" "$hash_second" "$second/another/folder/$ZIP_NAME"
    if [ "$hash_first" != "$hash_second" ]; then
        cmp "$first/r/build/Tellurix.exe" "$second/another/folder/build/Tellurix.exe" >&2 || true
        die "the two builds differ (kept in $first and $second)"
    fi
    rm -rf "$first" "$second"
    say "the two builds gave the same $ZIP_NAME"
    ;;
'')
    build "$REPO_DIR/build/release"
    mkdir -p "$REPO_DIR/dist"
    cp "$REPO_DIR/build/release/$ZIP_NAME" "$REPO_DIR/dist/$ZIP_NAME"
    (cd "$REPO_DIR/dist" && sha256sum "$ZIP_NAME" >SHA256SUMS)
    say "dist/$ZIP_NAME ($(stat -c %s "$REPO_DIR/dist/$ZIP_NAME") bytes)"
    cat "$REPO_DIR/dist/SHA256SUMS"
    ;;
*)
    die "usage: $0 [--check | --pack EXE FOLDER]"
    ;;
esac
