#!/usr/bin/env bash
# Autostart as the user switches it: control 9 writes StartUp\Tellurix.lnk
# pointing at the running program (also when started from another folder),
# control 8 removes it, and the start shows the button that fits.
. "$(dirname "$0")/lib.sh"

# The target path and the working folder stored in a .lnk (LinkInfo's local
# base path and the string data), one per line.
lnk_fields() {
    python3 - "$1" <<'EOF'
import struct, sys
data = open(sys.argv[1], 'rb').read()
assert data[:4] == b'L\0\0\0', 'not a shell link'
flags = struct.unpack_from('<I', data, 0x14)[0]
pos = 0x4C
if flags & 0x1:  # HasLinkTargetIDList
    pos += 2 + struct.unpack_from('<H', data, pos)[0]
base = ''
if flags & 0x2:  # HasLinkInfo
    info = pos
    size, header, info_flags, _, base_offset = struct.unpack_from('<5I', data, info)
    if info_flags & 0x1:
        end = data.index(b'\0', info + base_offset)
        base = data[info + base_offset:end].decode('cp1252')
    pos += size
strings = []
unicode = flags & 0x80
for bit in (0x4, 0x8, 0x10, 0x20, 0x40):  # name, relative path, working dir, arguments, icon
    if flags & bit:
        count = struct.unpack_from('<H', data, pos)[0]
        pos += 2
        width = 2 if unicode else 1
        raw = data[pos:pos + count * width]
        pos += count * width
        strings.append((bit, raw.decode('utf-16-le' if unicode else 'cp1252').rstrip('\0')))
    else:
        strings.append((bit, ''))
print(base)
print(dict(strings)[0x10])
EOF
}

button_look() {
    local px py
    read -r px py < <(control_point 9)
    import -display "$DISPLAY" -window root -crop "22x22+$((px - 11))+$((py - 11))" -depth 8 rgb:- | md5sum
}

fresh_user
seed_settings
# Started from another folder: the shortcut must still point at the program.
start_tellurix /tmp
show_bar >/dev/null
off_look=$(button_look)
click_control 9
wait_until 5 test -f "$SHORTCUT" || fail "control 9 wrote no shortcut"
exe_windows=$(winepath -w "$TELLURIX_EXE" 2>/dev/null | tr -d '\r')
mapfile -t fields < <(lnk_fields "$SHORTCUT")
expect_eq "${fields[0]}" "$exe_windows" "the shortcut starts the running program"
expect_eq "${fields[1]%\\}" "${exe_windows%\\*}" "the shortcut works in the program's folder"
sleep 0.3
on_look=$(button_look)
[ "$on_look" != "$off_look" ] || fail "control 8 did not take the place of control 9"
pass "control 9 turns autostart on and shows control 8"
quit_by_button

# The start shows the state the Startup folder has.
start_tellurix
show_bar >/dev/null
expect_eq "$(button_look)" "$on_look" "a start with the shortcut shows control 8"
click_control 8
wait_until 5 bash -c "[ ! -e '$SHORTCUT' ]" || fail "control 8 did not delete the shortcut"
sleep 0.3
expect_eq "$(button_look)" "$off_look" "control 8 turns autostart off and shows control 9"
quit_by_button

start_tellurix
show_bar >/dev/null
expect_eq "$(button_look)" "$off_look" "a start without the shortcut shows control 9"
quit_by_button

# A folder of that name counts as on and is never removed.
mkdir -p "$SHORTCUT"
touch "$SHORTCUT/keep"
start_tellurix
show_bar >/dev/null
expect_eq "$(button_look)" "$on_look" "a folder named Tellurix.lnk counts as on"
click_control 8
sleep 1
[ -f "$SHORTCUT/keep" ] || fail "turning autostart off removed the folder"
pass "the folder survives turning autostart off"
quit_by_button
rm -rf -- "$SHORTCUT"
