#!/usr/bin/env python3
"""The two steps of scripts/release.sh that are easier in Python.

  release.py notices NOTICES LIBPNG_PREFIX LIBPNG_SOURCES
      Fails unless NOTICES carries, word for word, the licence texts of what
      Tellurix.exe links statically, taken from where the set-up got them: the
      LICENSE of the libpng and cJSON sources it built, zlib.h of MinGW's zlib, and the
      Debian copyright file of the MinGW-w64 runtime; and names their versions.

  release.py pack ZIP EPOCH EXE TEXTS
      Writes ZIP with Tellurix.exe (EXE) and LIESMICH.txt, LICENSE.txt and
      THIRD-PARTY-NOTICES.txt (from the folder TEXTS), in this order, each
      dated EPOCH (seconds since 1970, UTC). The text files get CR LF line
      ends, and a UTF-8 byte order mark when they are not plain ASCII, so that
      every Notepad shows their umlauts.
"""
import re
import sys
import time
import zipfile

MINGW = "/usr/x86_64-w64-mingw32"
MINGW_COPYRIGHT = "/usr/share/doc/mingw-w64-common/copyright"


def read(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


def debian_licence(copyright_text, name):
    """The body of the first "License: NAME" paragraph with one, unindented."""
    lines = copyright_text.split("\n")
    for i, line in enumerate(lines):
        if line != "License: " + name:
            continue
        body = []
        for follow in lines[i + 1:]:
            if not follow.startswith(" "):
                break
            body.append("" if follow == " ." else follow[1:])
        if body:
            return "\n".join(body)
    sys.exit(f"no licence text {name} in {MINGW_COPYRIGHT}")


def required_texts(libpng_prefix, libpng_sources):
    """(what, text) pairs that the notices must contain."""
    debian_version = read(f"{libpng_prefix}/libpng-debian-version").strip()
    libpng_version = debian_version.split(":")[-1].split("-")[0]
    libpng_licence = read(f"{libpng_sources}/libpng1.6-{debian_version.replace(':', '_')}/LICENSE")

    cjson_version = read(f"{libpng_prefix}/cjson-debian-version").strip()
    cjson_licence = read(f"{libpng_sources}/cjson-{cjson_version.replace(':', '_')}/LICENSE")

    zlib_h = read(f"{MINGW}/include/zlib.h")
    zlib_version = re.search(r'#define ZLIB_VERSION "([^"]+)"', zlib_h).group(1)
    zlib_notice = re.search(r"\n(  Copyright \(C\).*?madler@alumni\.caltech\.edu)\n", zlib_h, re.S).group(1)

    mingw_mac = read(f"{MINGW}/include/_mingw_mac.h")
    mingw_version = ".".join(re.search(rf"#define __MINGW64_VERSION_{part} (\d+)", mingw_mac).group(1)
                             for part in ("MAJOR", "MINOR", "BUGFIX"))
    mingw_copyright = read(MINGW_COPYRIGHT)

    return [
        ("libpng's name and version", f"libpng {libpng_version}"),
        ("libpng's LICENSE", libpng_licence.rstrip("\n")),
        ("zlib's name and version", f"zlib {zlib_version}"),
        ("zlib's notice from zlib.h", zlib_notice),
        ("cJSON's name and version", f"cJSON {cjson_version.split(':')[-1].split('-')[0]}"),
        ("cJSON's LICENSE", cjson_licence.rstrip("\n")),
        ("the MinGW-w64 runtime's version", f"MinGW-w64 runtime {mingw_version}"),
    ] + [(f"MinGW-w64's licence {name}", debian_licence(mingw_copyright, name))
         for name in ("ZPL-2.1", "expat", "BSD-3-clause-Lockless")]


def check_notices(notices, libpng_prefix, libpng_sources):
    text = read(notices)
    missing = [what for what, required in required_texts(libpng_prefix, libpng_sources) if required not in text]
    if missing:
        sys.exit(f"{notices} lacks, word for word: " + "; ".join(missing))


def windows_text(data):
    text = data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
    return text if text.isascii() else b"\xef\xbb\xbf" + text


def pack(zip_path, epoch, exe, texts):
    entries = [
        ("Tellurix.exe", exe, False),
        ("LIESMICH.txt", f"{texts}/docs/LIESMICH.txt", True),
        ("LICENSE.txt", f"{texts}/LICENSE", True),
        ("THIRD-PARTY-NOTICES.txt", f"{texts}/THIRD-PARTY-NOTICES.txt", True),
    ]
    date = time.gmtime(int(epoch))[:6]
    with zipfile.ZipFile(zip_path, "w") as archive:
        for name, source, is_text in entries:
            with open(source, "rb") as f:
                data = f.read()
            info = zipfile.ZipInfo(name, date_time=date)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0  # made on "MS-DOS": Windows attributes, no Unix permissions
            info.external_attr = 0x20  # FILE_ATTRIBUTE_ARCHIVE, as in Windows' own zips
            archive.writestr(info, windows_text(data) if is_text else data, compresslevel=9)


if __name__ == "__main__":
    command, arguments = sys.argv[1], sys.argv[2:]
    if command == "notices" and len(arguments) == 3:
        check_notices(*arguments)
    elif command == "pack" and len(arguments) == 4:
        pack(*arguments)
    else:
        sys.exit(__doc__)
