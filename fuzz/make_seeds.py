#!/usr/bin/env python3
"""Writes the fuzzer's seed files into fuzz/seeds: small valid files, damaged ones, and files nested 600,
5,000 and 16,385 folders deep (random short runs never grow deep files from small seeds). Deterministic."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "seeds")


def packed(value, width):
    value &= (1 << (8 * width)) - 1
    body = b""
    while value:
        body += bytes([value & 0xFF])
        value >>= 8
    return bytes([len(body)]) + body


def name(text):
    data = text.encode("utf-8") if isinstance(text, str) else text
    return struct.pack("<H", len(data)) + data


def file_record(file_name, size, key=0):
    return packed(size, 8) + packed(key, 4) + name(file_name)


def folder(folder_name, files=(), subs=(), key=0):
    out = packed(len(files), 4) + packed(len(subs), 4) + packed(key, 4) + name(folder_name)
    for f in files:
        out += file_record(*f)
    for s in subs:
        out += s
    return out


def data_file(cluster, root):
    return b"KLVV0000" + struct.pack("<I", cluster) + root


def chain(depth, with_files=True):
    # A folder's subfolder follows its own fields and files, so the chain is its levels' heads in order.
    parts = [packed(0, 4) + packed(1, 4) + packed(0, 4) + name("C:")]
    for level in range(1, depth + 1):
        files = [("f", level)] if with_files else []
        parts.append(packed(len(files), 4) + packed(1 if level < depth else 0, 4) + packed(0, 4) + name("d")
                     + b"".join(file_record(*f) for f in files))
    return b"".join(parts)


def main():
    os.makedirs(OUT, exist_ok=True)
    small = folder(
        "C:",
        [("boot.ini", 211), ("pagefile.sys", 4294967296 + 12345, -1), ("empty", 0)],
        [
            folder("Data", [("r\u00e9sum\u00e9.txt", 5000, 3)], [folder("Photos", [("a.jpg", 1 << 20)]), folder("Empty")]),
            folder("\u65e5\u672c", [("x", 255), ("y", 256)], key=7),
        ],
    )
    seeds = {
        "empty-root.klv": data_file(4096, folder("C:")),
        "small-tree.klv": data_file(4096, small),
        "cluster-3000.klv": data_file(3000, small),
        "folder-root.klv": data_file(65536, folder("C:\\Users\\Me", [("a", 1)], [folder("b")])),
        "truncated.klv": data_file(512, small)[:60],
        "hostile-counts.klv": data_file(4096, packed(4000000000, 4) + packed(4000000000, 4) + packed(0, 4) + name("C:")
                                        + b"".join(file_record(c, 0) for c in "abcd")),
        "long-name.klv": data_file(4096, folder("C:", [("n" * 1000, 1)])),
        "deep-600.klv": data_file(4096, chain(600)),
        "deep-5000.klv": data_file(4096, chain(5000)),
        # One level below the reader's depth cap (16,384), in bare folders to keep the seed small.
        "deep-16385.klv": data_file(4096, chain(16385, with_files=False)),
    }
    for file_name, data in seeds.items():
        with open(os.path.join(OUT, file_name), "wb") as handle:
            handle.write(data)


if __name__ == "__main__":
    main()
