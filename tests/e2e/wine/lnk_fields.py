"""Prints the target path, the working folder and the icon's file of a
Windows shortcut (.lnk), one per line, so the test can start the game as
the shortcut would and see which icon it shows."""
import struct
import sys

HAS_ID_LIST, HAS_LINK_INFO, HAS_NAME, HAS_RELATIVE_PATH, HAS_WORKING_DIR, HAS_ARGUMENTS, \
    HAS_ICON, IS_UNICODE = (1 << i for i in range(8))

data = open(sys.argv[1], "rb").read()
if len(data) < 0x4C or struct.unpack_from("<I", data, 0)[0] != 0x4C:
    sys.exit("not a shortcut")
flags = struct.unpack_from("<I", data, 0x14)[0]
pos = 0x4C
if flags & HAS_ID_LIST:
    pos += 2 + struct.unpack_from("<H", data, pos)[0]
target = ""
if flags & HAS_LINK_INFO:
    size, header = struct.unpack_from("<II", data, pos)
    local_offset = struct.unpack_from("<I", data, pos + 16)[0]
    if header >= 0x24:  # the Unicode local path is there too
        start = end = pos + struct.unpack_from("<I", data, pos + 28)[0]
        while data[end:end + 2] != b"\0\0":
            end += 2
        target = data[start:end].decode("utf-16-le")
    else:
        target = data[pos + local_offset:data.index(b"\0", pos + local_offset)].decode("latin-1")
    pos += size
strings = {}
for flag in (HAS_NAME, HAS_RELATIVE_PATH, HAS_WORKING_DIR, HAS_ARGUMENTS, HAS_ICON):
    if flags & flag:
        count = struct.unpack_from("<H", data, pos)[0]
        width = 2 if flags & IS_UNICODE else 1
        raw = data[pos + 2:pos + 2 + count * width]
        strings[flag] = raw.decode("utf-16-le" if width == 2 else "latin-1")
        pos += 2 + count * width
print(target)
print(strings.get(HAS_WORKING_DIR, ""))
print(strings.get(HAS_ICON, ""))
