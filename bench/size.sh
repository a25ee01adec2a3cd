#!/usr/bin/env bash
# Size: the bytes of Tellurix.exe as shipped (stripped) and the DLLs it
# imports, next to the bare program's.
set -euo pipefail
: "${TELLURIX_EXE:?}" "${BARE_EXE:?}" "${BENCH_OUT:?}"
report() { printf '%s\n' "$*" | tee -a "$BENCH_OUT/summary.txt"; }

OBJDUMP=x86_64-w64-mingw32-objdump
STRIP=x86_64-w64-mingw32-strip
work=$(mktemp -d "${TMPDIR:-/tmp}/tellurix-size.XXXXXX")
trap 'rm -rf -- "$work"' EXIT

# Windows' own DLLs, as every Windows installation has them.
SYSTEM_DLLS=" ADVAPI32.DLL COMCTL32.DLL COMDLG32.DLL GDI32.DLL KERNEL32.DLL MSVCRT.DLL OLE32.DLL OLEAUT32.DLL "
SYSTEM_DLLS+="SHELL32.DLL SHLWAPI.DLL USER32.DLL UXTHEME.DLL WS2_32.DLL "

describe() {
    local exe=$1 name=$2 bytes stripped imports foreign=
    bytes=$(stat -c %s "$exe")
    # Strip a copy: the build strips already, this shows nothing is left.
    cp "$exe" "$work/copy.exe"
    "$STRIP" "$work/copy.exe"
    stripped=$(stat -c %s "$work/copy.exe")
    imports=$("$OBJDUMP" -p "$exe" | awk '/DLL Name:/ { print $3 }' | tr '\n' ' ')
    for dll in $imports; do
        case $SYSTEM_DLLS in *" ${dll^^} "*) ;; *) foreign+=" $dll" ;; esac
    done
    report "  $name: $bytes bytes ($((bytes / 1024)) KB; stripped again $stripped), imports: ${imports% }"
    [ -z "$foreign" ] || report "    not Windows' own:$foreign"
    if [ "$name" = Tellurix.exe ]; then
        TX_BYTES=$stripped
        TX_FOREIGN=$foreign
    fi
}

report "size:"
describe "$TELLURIX_EXE" Tellurix.exe
describe "$BARE_EXE" "bare program"
report "  Tellurix.exe $TX_BYTES bytes of 524288 allowed (512 KB): $([ "$TX_BYTES" -lt 524288 ] && echo met || echo missed);" \
    "DLLs beyond Windows' own: $([ -z "$TX_FOREIGN" ] && echo none || echo "$TX_FOREIGN")"
