#!/usr/bin/env python3
"""Test tool: makes a folder tree for the headless scanner's checks and prints the listing the scanner's
data file must give back (the lines of klv_dump, sorted, without the cluster line), computed here from the
file system by Python, independently of the program's walk.

    make_tree.py <root> native|wine [files-in-bulk]

native: the root is named after the machine (host:\\path), links and names holding a backslash are
included. wine: the root is the Z: drive path, and only what a Windows listing shows alike is made.
files-in-bulk adds a folder of that many empty files (for runs long enough to interrupt)."""
import os
import socket
import sys

STAND_IN = "\uff3c"  # what a backslash inside a name becomes


def make(root, mode, bulk):
    files = {
        "Photos/2026/a.jpg": 300000,
        "Photos/2026/b.jpg": 1,
        "Photos/notes.txt": 4096,
        "Music/b.ogg": 120000,
        "日本/café.txt": 12,
        ".git/config": 300,
        "..hidden/x": 5,
        "zero": 0,
        "big.img": 5 * 2**30 + 3,  # sparse; its size needs more than 32 bits
    }
    files["/".join(f"d{i}" for i in range(40)) + "/leaf.txt"] = 7
    for i in range(300):
        files[f"many/f{i:03}"] = i * 37
    if mode == "native":
        files["back\\slash.txt"] = 9
        files["a\\b/inner"] = 3
    for i in range(bulk):
        files[f"bulk/{i // 1000:03}/{i:07}"] = 0
    for path, size in files.items():
        full = os.path.join(root, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "wb") as f:
            f.truncate(size)
    os.makedirs(os.path.join(root, "empty"))
    os.makedirs(os.path.join(root, "Photos/empty-too"))
    if mode == "native":
        os.symlink("..", os.path.join(root, "Photos/loop"))  # a folder link: listed, never entered
        os.symlink("zero", os.path.join(root, "link.txt"))  # a file link: a file of its own size


def listing(root, mode):
    if mode == "native":
        name = socket.gethostname() + ":" + root.replace("\\", STAND_IN).replace("/", "\\")
    else:
        name = "Z:" + root.replace("/", "\\")
    lines = []

    def walk(folder, path):
        lines.append(f"dir {path}")
        with os.scandir(folder) as entries:
            for entry in entries:
                shown = entry.name.replace("\\", STAND_IN)
                if entry.is_dir(follow_symlinks=True):
                    if entry.is_symlink():
                        lines.append(f"dir {path}{shown}\\")
                    else:
                        walk(entry.path, f"{path}{shown}\\")
                else:
                    lines.append(f"file {path}{shown}\t{entry.stat(follow_symlinks=False).st_size}")

    walk(root, name + "\\")
    return sorted(lines)


def main():
    root, mode = sys.argv[1], sys.argv[2]
    bulk = int(sys.argv[3]) if len(sys.argv) > 3 else 0
    make(root, mode, bulk)
    sys.stdout.write("".join(line + "\n" for line in listing(root, mode)))


if __name__ == "__main__":
    main()
