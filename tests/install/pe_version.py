#!/usr/bin/env python3
"""Test tool: prints the version block of a Windows program as the system would show it, read from the
file's bytes: the fixed file version (four numbers) and the FileVersion, ProductVersion, ProductName and
FileDescription strings, one "name value" line each.

    pe_version.py <program.exe>"""
import re
import struct
import sys


def main():
    data = open(sys.argv[1], "rb").read()
    fixed = data.find(struct.pack("<I", 0xFEEF04BD))  # VS_FIXEDFILEINFO's signature
    if fixed < 0:
        print("no version block")
        return 1
    ms, ls = struct.unpack_from("<II", data, fixed + 8)
    print(f"fixed {ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}")
    for key in ("FileVersion", "ProductVersion", "ProductName", "FileDescription"):
        name = key.encode("utf-16-le") + b"\0\0"
        # The value follows its name, aligned to four bytes, as a terminated UTF-16 string.
        match = re.search(re.escape(name) + rb"(?:\0\0)?((?:[^\0].|\0[^\0])*?)\0\0", data, re.S)
        if match:
            print(key, match.group(1).decode("utf-16-le"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
