#!/usr/bin/env python3
"""Cuts the NTFS fuzzer's seeds out of real images (made by tools/make-ntfs-images.py IMAGES) into
fuzz/ntfs-seeds: each seed is a list of (2-byte record number, 1 KiB record) pairs, the root folder's
record followed by the records around one feature of the image. Usage: fuzz/make_ntfs_seeds.py IMAGES"""
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "ntfs-seeds")


def table_reader(image):
    f = open(image, "rb")
    boot = f.read(512)
    bps, spc = struct.unpack_from("<HB", boot, 11)
    cluster = bps * spc
    mft = struct.unpack_from("<Q", boot, 48)[0]
    f.seek(mft * cluster)
    rec0 = bytearray(f.read(1024))
    runs, vcn, lcn = [], 0, 0
    at = struct.unpack_from("<H", rec0, 20)[0]
    while struct.unpack_from("<I", rec0, at)[0] != 0xFFFFFFFF:
        typ, length = struct.unpack_from("<II", rec0, at)
        if typ == 0x80 and rec0[at + 8] == 1:
            p = at + struct.unpack_from("<H", rec0, at + 32)[0]
            while rec0[p]:
                ls, os_ = rec0[p] & 15, rec0[p] >> 4
                n = int.from_bytes(rec0[p + 1:p + 1 + ls], "little")
                lcn += int.from_bytes(rec0[p + 1 + ls:p + 1 + ls + os_], "little", signed=True)
                runs.append((vcn, lcn, n))
                vcn += n
                p += 1 + ls + os_
        at += length

    def record(number):
        byte = number * 1024
        for v, l, n in runs:
            if v * cluster <= byte < (v + n) * cluster:
                f.seek(l * cluster + byte - v * cluster)
                return f.read(1024)
        return None
    return record


def main():
    images = sys.argv[1]
    manifest = dict(line.split() for line in open(os.path.join(images, "manifest.txt")) if line.strip())
    os.makedirs(OUT, exist_ok=True)
    tree = table_reader(os.path.join(images, "tree.img"))
    deep = table_reader(os.path.join(images, "deep.img"))
    seeds = {
        "system": (tree, range(0, 27)),
        "unicode": (tree, range(int(manifest["unicode"]), int(manifest["unicode"]) + 30)),
        "attribute-list": (tree, range(int(manifest["attrlist/many-names"]) - 1, int(manifest["attrlist/many-names"]) + 12)),
        "streams": (tree, range(int(manifest["attrlist/many-streams"]), int(manifest["attrlist/many-streams"]) + 4)),
        "reparse-and-dos": (tree, list(range(int(manifest["reparse"]), int(manifest["reparse"]) + 8))
                            + list(range(int(manifest["dos"]), int(manifest["dos"]) + 4))),
        "victims": (tree, range(int(manifest["victims"]), int(manifest["victims"]) + 7)),
        "deep-chain": (deep, range(60, 100)),
    }
    for name, (read, numbers) in seeds.items():
        out = bytearray()
        for number in [5] + list(numbers):
            record = read(number)
            if record:
                out += struct.pack("<H", number) + record
        with open(os.path.join(OUT, name + ".bin"), "wb") as f:
            f.write(out)


if __name__ == "__main__":
    main()
