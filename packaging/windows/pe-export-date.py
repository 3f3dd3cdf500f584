#!/usr/bin/env python3
"""Sets the date in the export table of each DLL named to the one given.

The linker writes the moment of the link there; strip sets the file
header's date from SOURCE_DATE_EPOCH but leaves this one alone.
    pe-export-date.py SECONDS FILE.dll...
"""
import struct
import sys


def set_export_date(path, seconds):
    with open(path, "r+b") as f:
        data = bytearray(f.read())
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            sys.exit(f"{path}: not a PE file")
        sections, = struct.unpack_from("<H", data, pe + 6)
        optional_size, = struct.unpack_from("<H", data, pe + 20)
        optional = pe + 24
        magic, = struct.unpack_from("<H", data, optional)
        directories = optional + (112 if magic == 0x20B else 96)
        export_rva, export_size = struct.unpack_from("<II", data, directories)
        if export_size == 0:
            return
        for i in range(sections):
            header = optional + optional_size + 40 * i
            virtual_size, address, raw_size, raw_offset = struct.unpack_from("<IIII", data, header + 8)
            if address <= export_rva < address + max(virtual_size, raw_size):
                struct.pack_into("<I", data, export_rva - address + raw_offset + 4, seconds)
                f.seek(0)
                f.write(data)
                return
        sys.exit(f"{path}: the export table lies in no section")


for name in sys.argv[2:]:
    set_export_date(name, int(sys.argv[1]))
