#!/usr/bin/env bash
# One-command machine set-up for building Tellurix and testing it under Wine.
#
#   sudo scripts/setup.sh [MINGW_PREFIX]
#   scripts/setup.sh --check [MINGW_PREFIX]   exit 0 when nothing is missing
#                                             (changes nothing, needs no root)
#
# Runs as root on Debian 12. Installs the missing Debian packages and builds
# static libpng and cJSON for MinGW-w64 x86_64 into MINGW_PREFIX (default:
# <repo>/build/deps/mingw). Safe to run again: every step is skipped when its
# result is already there, so a second run takes a few seconds.
set -euo pipefail

REPO_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
CHECK_ONLY=0
if [ "${1:-}" = --check ]; then
    CHECK_ONLY=1
    shift
fi
PREFIX=${1:-$REPO_DIR/build/deps/mingw}
case $PREFIX in /*) ;; *) PREFIX=$PWD/$PREFIX ;; esac
SRC_DIR=$REPO_DIR/build/deps/src
MINGW_ROOT=/usr/x86_64-w64-mingw32
MINGW_HOST=x86_64-w64-mingw32

export DEBIAN_FRONTEND=noninteractive
APT_OPTS=(-y -q -o DPkg::Lock::Timeout=600 -o Dpkg::Options::=--force-confdef -o Dpkg::Options::=--force-confold)

START_TIME=$(date +%s)
say() { printf '[setup %3ds] %s\n' "$(($(date +%s) - START_TIME))" "$*"; }
die() { printf '[setup] ERROR: %s\n' "$*" >&2; exit 1; }

# Something is missing: in --check mode that is the whole answer.
missing_step() {
    if [ "$CHECK_ONLY" -eq 1 ]; then
        printf '[setup] missing: %s\n' "$*" >&2
        exit 1
    fi
}

if [ "$CHECK_ONLY" -eq 0 ] && [ "$(id -u)" -ne 0 ]; then
    die "must run as root (apt-get and the deb-src step need it)"
fi
command -v dpkg-query >/dev/null || die "dpkg-query not found: this script expects Debian 12"

# Another apt/dpkg run may hold the locks (e.g. an unattended install right
# after boot). Wait for it, but not forever.
wait_for_apt() {
    local waited=0
    while pgrep -x apt-get >/dev/null || pgrep -x apt >/dev/null || pgrep -x dpkg >/dev/null; do
        if [ "$waited" -eq 0 ]; then say "waiting for another apt-get/dpkg run to finish"; fi
        if [ "$waited" -ge 600 ]; then die "apt-get/dpkg still busy after 600 s"; fi
        sleep 2
        waited=$((waited + 2))
    done
}

is_installed() {
    [ "$(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null || true)" = installed ]
}

# --------------------------------------------------------------------------
# 1. Debian packages
# --------------------------------------------------------------------------
PACKAGES=(
    g++ cmake make
    g++-mingw-w64-x86-64 mingw-w64-tools libz-mingw-w64-dev
    wine wine64
    xvfb xserver-xephyr xdotool imagemagick x11-utils x11-xserver-utils
    dpkg-dev googletest libgtest-dev libpng-dev zlib1g-dev libcjson-dev
    clang libclang-rt-14-dev procps python3 libbenchmark-dev
)
# openbox pulls in a whole desktop session through its recommends.
PACKAGES_NO_RECOMMENDS=(openbox)

missing=()
for p in "${PACKAGES[@]}"; do is_installed "$p" || missing+=("$p"); done
missing_nr=()
for p in "${PACKAGES_NO_RECOMMENDS[@]}"; do is_installed "$p" || missing_nr+=("$p"); done

if [ ${#missing[@]} -gt 0 ] || [ ${#missing_nr[@]} -gt 0 ]; then
    missing_step "Debian packages ${missing[*]} ${missing_nr[*]}"
    say "missing packages: ${missing[*]} ${missing_nr[*]}"
    wait_for_apt
    say "apt-get update"
    apt-get "${APT_OPTS[@]}" update
    if [ ${#missing[@]} -gt 0 ]; then
        say "apt-get install ${missing[*]}"
        apt-get "${APT_OPTS[@]}" install "${missing[@]}"
    fi
    if [ ${#missing_nr[@]} -gt 0 ]; then
        say "apt-get install --no-install-recommends ${missing_nr[*]}"
        apt-get "${APT_OPTS[@]}" install --no-install-recommends "${missing_nr[@]}"
    fi
else
    [ "$CHECK_ONLY" -eq 1 ] || say "all Debian packages present"
fi

for tool in "$MINGW_HOST-gcc-posix" "$MINGW_HOST-g++-posix" "$MINGW_HOST-windres" cmake wine wineserver Xvfb xdpyinfo openbox; do
    command -v "$tool" >/dev/null || die "$tool not found after installing the packages"
done
[ -f "$MINGW_ROOT/lib/libz.a" ] || die "$MINGW_ROOT/lib/libz.a missing (libz-mingw-w64-dev)"

# --------------------------------------------------------------------------
# 2. libpng and cJSON for MinGW-w64 x86_64, built from Debian's source packages
# --------------------------------------------------------------------------
libpng_present() {
    { [ -f "$PREFIX/lib/libpng.a" ] || [ -f "$PREFIX/lib/libpng16.a" ]; } &&
        [ -f "$PREFIX/include/png.h" ] &&
        [ -f "$PREFIX/include/pngconf.h" ] &&
        [ -f "$PREFIX/include/pnglibconf.h" ]
}

DEBSRC_LIST=/etc/apt/sources.list.d/tellurix-deb-src.sources
debsrc_added=0
remove_debsrc() {
    if [ "$debsrc_added" -eq 1 ]; then
        debsrc_added=0
        rm -f "$DEBSRC_LIST"
        say "removed $DEBSRC_LIST; apt-get update to drop its index"
        apt-get "${APT_OPTS[@]}" update >/dev/null ||
            printf '[setup] WARNING: apt-get update after removing %s failed\n' "$DEBSRC_LIST" >&2
    fi
}
trap remove_debsrc EXIT
trap 'exit 130' INT TERM

# Prints the newest .dsc of source package $1 already downloaded, if any.
find_dsc() {
    local package=$1 f best=""
    for f in "$SRC_DIR/${package}"_*.dsc; do
        [ -f "$f" ] || continue
        if [ -z "$best" ]; then best=$f; continue; fi
        local v1=${best##*/"${package}"_} v2=${f##*/"${package}"_}
        if dpkg --compare-versions "${v2%.dsc}" gt "${v1%.dsc}"; then best=$f; fi
    done
    printf '%s' "$best"
}

# Downloads the named source packages of the main suite through a deb-src
# entry that exists only for this step.
fetch_sources() {
    # Main archive URI and key of this machine's own Debian sources.
    local sources=/etc/apt/sources.list.d/debian.sources uri signed_by package version
    [ -f "$sources" ] || die "$sources not found; cannot derive the deb-src entry"
    uri=$(awk '
        /^[[:space:]]*$/ { if (u != "" && s ~ /(^| )bookworm( |$)/) { print u; exit } u = ""; s = ""; next }
        /^URIs:/   { u = $2 }
        /^Suites:/ { $1 = ""; s = $0 " " }
        END        { if (u != "" && s ~ /(^| )bookworm( |$)/) print u }' "$sources" | head -n1)
    signed_by=$(awk '/^Signed-By:/ { print $2; exit }' "$sources")
    [ -n "$uri" ] || die "no URI for suite bookworm in $sources"
    [ -n "$signed_by" ] || signed_by=/usr/share/keyrings/debian-archive-keyring.gpg

    wait_for_apt
    say "adding temporary deb-src entry ($uri bookworm main)"
    debsrc_added=1
    printf 'Types: deb-src\nURIs: %s\nSuites: bookworm\nComponents: main\nSigned-By: %s\n' \
        "$uri" "$signed_by" >"$DEBSRC_LIST"
    say "apt-get update (with deb-src)"
    apt-get "${APT_OPTS[@]}" update >/dev/null

    mkdir -p "$SRC_DIR"
    for package in "$@"; do
        version=$(apt-cache showsrc --only-source "$package" 2>/dev/null |
            awk '/^Version:/ { print $2 }' | sort -V | tail -n1)
        [ -n "$version" ] || die "apt-cache showsrc found no $package source in bookworm main"
        say "downloading $package $version source package"
        # apt's download sandbox user must be able to write here; fall back to
        # an unsandboxed download when it cannot.
        (cd "$SRC_DIR" && apt-get -q -o APT::Sandbox::User=root source --download-only "$package=$version" >/dev/null)
    done

    remove_debsrc
}

# Unpacks the newest downloaded source package $1 (applying Debian's patches)
# into $SRC_DIR/$1-<version> and prints the version.
unpack_source() {
    local package=$1 dsc version srcdir
    dsc=$(find_dsc "$package")
    [ -n "$dsc" ] || die "apt-get source left no $package .dsc in $SRC_DIR"
    version=${dsc##*/"${package}"_}
    version=${version%.dsc}
    # One directory per Debian revision, so a newer source package never
    # reuses sources patched for an older one.
    srcdir=$SRC_DIR/$package-${version//:/_}
    if [ ! -f "$srcdir/CMakeLists.txt" ] || [ ! -f "$srcdir/debian/changelog" ]; then
        rm -rf "$srcdir"
        say "unpacking ${dsc##*/} (applies Debian's patches)" >&2
        # dpkg-source checks the tarballs against the .dsc checksums; the
        # inline OpenPGP signature cannot be checked without debian-keyring
        # (apt has already verified the files through the signed index).
        (cd "$SRC_DIR" && dpkg-source -x "${dsc##*/}" "${srcdir##*/}") >"$srcdir.unpack.log" 2>&1 ||
            { cat "$srcdir.unpack.log" >&2; die "dpkg-source -x ${dsc##*/} failed"; }
    fi
    printf '%s' "$version"
}

# Configures, builds and installs the source tree $2 for MinGW into the prefix,
# statically, with the further CMake arguments given; $1 names the logs.
mingw_cmake_build() {
    local name=$1 srcdir=$2 builddir
    shift 2
    builddir=$SRC_DIR/build-$name-mingw64
    rm -rf "$builddir"
    say "configuring $name for $MINGW_HOST (static)"
    cmake -S "$srcdir" -B "$builddir" \
        -DCMAKE_SYSTEM_NAME=Windows \
        -DCMAKE_SYSTEM_PROCESSOR=x86_64 \
        -DCMAKE_C_COMPILER="$MINGW_HOST-gcc-posix" \
        -DCMAKE_CXX_COMPILER="$MINGW_HOST-g++-posix" \
        -DCMAKE_RC_COMPILER="$MINGW_HOST-windres" \
        -DCMAKE_FIND_ROOT_PATH="$MINGW_ROOT" \
        -DCMAKE_FIND_ROOT_PATH_MODE_PROGRAM=NEVER \
        -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY \
        -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY \
        -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$PREFIX" \
        "$@" >"$builddir.configure.log" 2>&1 ||
        { tail -n 40 "$builddir.configure.log" >&2; die "$name configure failed (log: $builddir.configure.log)"; }

    say "building $name"
    cmake --build "$builddir" -j"$(nproc)" >"$builddir.build.log" 2>&1 ||
        { tail -n 40 "$builddir.build.log" >&2; die "$name build failed (log: $builddir.build.log)"; }
    cmake --install "$builddir" >"$builddir.install.log" 2>&1 ||
        { tail -n 40 "$builddir.install.log" >&2; die "$name install failed (log: $builddir.install.log)"; }
}

build_libpng() {
    local version
    version=$(unpack_source libpng1.6)
    mingw_cmake_build "libpng-${version//:/_}" "$SRC_DIR/libpng1.6-${version//:/_}" \
        -DCMAKE_C_FLAGS_RELEASE="$LIBPNG_CFLAGS" \
        -DPNG_SHARED=OFF -DPNG_STATIC=ON \
        -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
        -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_EXECUTABLES=ON \
        -DZLIB_INCLUDE_DIR="$MINGW_ROOT/include" \
        -DZLIB_LIBRARY="$MINGW_ROOT/lib/libz.a" \
        -DDFA_XTRA="$LIBPNG_OPTIONS"
    libpng_present || die "libpng install did not produce $PREFIX/lib/libpng.a and the headers"
    printf '%s\n' "$version" >"$PREFIX/libpng-debian-version"
    libpng_configuration >"$PREFIX/libpng-cflags"
    say "libpng $version installed into $PREFIX"
}

cjson_present() {
    [ -f "$PREFIX/lib/libcjson.a" ] && [ -f "$PREFIX/include/cjson/cJSON.h" ]
}

# cJSON as a static library without exported symbols (the program is one
# executable) and without its tests and utilities.
build_cjson() {
    local version
    version=$(unpack_source cjson)
    mingw_cmake_build "cjson-${version//:/_}" "$SRC_DIR/cjson-${version//:/_}" \
        -DCMAKE_C_FLAGS_RELEASE="$CJSON_CFLAGS" \
        -DBUILD_SHARED_LIBS=OFF -DBUILD_SHARED_AND_STATIC_LIBS=OFF \
        -DENABLE_CJSON_TEST=OFF -DENABLE_CJSON_UTILS=OFF \
        -DENABLE_PUBLIC_SYMBOLS=OFF -DENABLE_HIDDEN_SYMBOLS=ON \
        -DENABLE_TARGET_EXPORT=OFF -DENABLE_CUSTOM_COMPILER_FLAGS=OFF
    cjson_present || die "cJSON install did not produce $PREFIX/lib/libcjson.a and cjson/cJSON.h"
    printf '%s\n' "$version" >"$PREFIX/cjson-debian-version"
    printf '%s\n' "$CJSON_CFLAGS" >"$PREFIX/cjson-cflags"
    say "cJSON $version installed into $PREFIX"
}

# Small code: the program links only the reading half of libpng, and the
# linker can drop the rest only when every function has its own section.
LIBPNG_CFLAGS="-Os -DNDEBUG -ffunction-sections -fdata-sections"
LIBPNG_OPTIONS=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/libpng-read-only.dfa
# What the installed build was made with; a change builds it anew.
libpng_configuration() { printf '%s\n' "$LIBPNG_CFLAGS"; cat "$LIBPNG_OPTIONS"; }
CJSON_CFLAGS="-Os -DNDEBUG -DCJSON_HIDE_SYMBOLS -D__USE_MINGW_ANSI_STDIO=0 -D__NO_ISOCEXT -ffunction-sections -fdata-sections"

need_libpng=1
if libpng_present && [ "$(cat "$PREFIX/libpng-cflags" 2>/dev/null)" = "$(libpng_configuration)" ]; then
    [ "$CHECK_ONLY" -eq 1 ] ||
        say "MinGW libpng present in $PREFIX ($(cat "$PREFIX/libpng-debian-version" 2>/dev/null || echo 'version unknown'))"
    need_libpng=0
fi
need_cjson=1
if cjson_present && [ "$(cat "$PREFIX/cjson-cflags" 2>/dev/null)" = "$CJSON_CFLAGS" ]; then
    [ "$CHECK_ONLY" -eq 1 ] ||
        say "MinGW cJSON present in $PREFIX ($(cat "$PREFIX/cjson-debian-version" 2>/dev/null || echo 'version unknown'))"
    need_cjson=0
fi
if [ "$need_libpng" -eq 1 ]; then missing_step "libpng for MinGW in $PREFIX"; fi
if [ "$need_cjson" -eq 1 ]; then missing_step "cJSON for MinGW in $PREFIX"; fi

# One deb-src round for every source package not downloaded yet.
to_fetch=()
if [ "$need_libpng" -eq 1 ] && [ -z "$(find_dsc libpng1.6)" ]; then to_fetch+=(libpng1.6); fi
if [ "$need_cjson" -eq 1 ] && [ -z "$(find_dsc cjson)" ]; then to_fetch+=(cjson); fi
if [ ${#to_fetch[@]} -gt 0 ]; then fetch_sources "${to_fetch[@]}"; fi

if [ "$need_libpng" -eq 1 ]; then build_libpng; fi
if [ "$need_cjson" -eq 1 ]; then build_cjson; fi

[ "$CHECK_ONLY" -eq 1 ] || say "done"
