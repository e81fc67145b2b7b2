#!/usr/bin/env python3
"""Makes a sample folder tree to show Kelvaran at work: a home folder with a handful of top folders (one
named in Japanese, one with an accent) and subfolders nested below them, holding sparse files whose sizes
spread log-uniformly from a few bytes to tens of megabytes, so the tree takes almost no disk space.
The same count gives the same tree every time.

    make-sample-tree.py <root> <files>

<root> must not exist yet. Prints "folders <n> files <n> bytes <n>": what was made below <root>."""
import math
import os
import random
import sys

TOP = ["Videos", "Photos", "Música", "Documents", "Projects", "Downloads", "写真", "Backups"]
WORDS = ["alpha", "notes", "2024", "2025", "drafts", "raw", "export", "cache", "old", "shared", "misc"]


def make(root, files):
    rng = random.Random(7)
    os.makedirs(root)
    folders = [os.path.join(root, name) for name in TOP]
    for folder in folders:
        os.mkdir(folder)
    # A random recursive tree: each new folder goes below an earlier one, so some paths run deep.
    for i in range(max(files // 25, 0)):
        parent = rng.choice(folders)
        folder = os.path.join(parent, f"{rng.choice(WORDS)}-{i}")
        os.mkdir(folder)
        folders.append(folder)
    # Each top folder weighs differently, so the first ring has pieces of many widths.
    weight = {name: 1.0 + 2.0 * rng.random() for name in TOP}
    total = 0
    for i in range(files):
        folder = rng.choice(folders)
        top = os.path.relpath(folder, root).split(os.sep)[0]
        size = int(math.exp(rng.uniform(0, math.log(6e7))) * weight[top] / 3)
        with open(os.path.join(folder, f"file{i:06}.dat"), "wb") as f:
            f.truncate(size)
        total += size
    print(f"folders {len(folders)} files {files} bytes {total}")


if __name__ == "__main__":
    if len(sys.argv) != 3 or not sys.argv[2].isdigit():
        sys.exit(__doc__)
    make(sys.argv[1], int(sys.argv[2]))
