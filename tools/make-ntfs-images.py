#!/usr/bin/env python3
"""Makes the NTFS images the file-table reader is tested against: mkntfs on sparse files, filled through
the ntfs-3g driver (needs root and /dev/fuse).

Usage: tools/make-ntfs-images.py OUTDIR [--bench FILES FOLDERS]

Writes OUTDIR/tree.img (the comparison tree), OUTDIR/deep.img (one chain of folders a thousand levels
deep), OUTDIR/reparse.img (reparse points of other kinds, which the driver cannot show), OUTDIR/fragmented.img
(a file table in many runs, grown into the holes between files) and
OUTDIR/manifest.txt ("name record-number" lines for the records the damage tests aim at). When the images
cannot be made here it writes the reason to OUTDIR/SKIP instead and exits 0, so that the tests can say
why they did not run. With --bench it makes only OUTDIR/bench-FILES.img, a tree of FILES files in FOLDERS
folders, and exits non-zero when it cannot.
"""
import os
import random
import shutil
import struct
import subprocess
import sys

MKNTFS = shutil.which("mkntfs") or "/usr/sbin/mkntfs"
NTFS3G = shutil.which("ntfs-3g") or "/usr/bin/ntfs-3g"


def why_not():
    if os.geteuid() != 0:
        return "not root: mounting through FUSE needs root here"
    if not os.path.exists("/dev/fuse"):
        return "/dev/fuse is missing"
    for tool in (MKNTFS, NTFS3G):
        if not os.access(tool, os.X_OK):
            return f"{tool} is missing (Debian package ntfs-3g)"
    return None


class Mounted:
    """mkntfs on a new sparse image, then mounted at `mnt` until the with-block ends."""

    def __init__(self, image, size_mib, mnt, options=""):
        self.image, self.mnt = image, mnt
        with open(image, "wb") as f:
            f.truncate(size_mib << 20)
        subprocess.run([MKNTFS, "-F", "-q", "-f", "-L", "kelvaran", image], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.makedirs(mnt, exist_ok=True)
        args = [NTFS3G, image, mnt] + (["-o", options] if options else [])
        subprocess.run(args, check=True)

    def __enter__(self):
        return self.mnt

    def __exit__(self, *exc):
        os.chdir("/")
        subprocess.run(["umount", self.mnt], check=True)


def reparse_buffer(tag, substitute, printed, relative=None):
    """Reparse data of a junction (relative is None) or a symbolic link."""
    s, p = substitute.encode("utf-16-le"), printed.encode("utf-16-le")
    if relative is None:
        body = struct.pack("<HHHH", 0, len(s), len(s) + 2, len(p)) + s + b"\0\0" + p + b"\0\0"
    else:
        body = struct.pack("<HHHHI", 0, len(s), len(s), len(p), 1 if relative else 0) + s + p
    return struct.pack("<IHH", tag, len(body), 0) + body


def set_reparse(path, data):
    os.setxattr(path, "system.ntfs_reparse_data", data)


def write(path, size, rng=None):
    """A file of `size` bytes: real bytes when small (so it may stay inside its record), sparse otherwise."""
    with open(path, "wb") as f:
        if size <= 4096:
            f.write(bytes((rng.randrange(256) if rng else 0x41) for _ in range(size)))
        else:
            f.truncate(size)


def fill_tree(root, manifest):
    rng = random.Random(1717)
    os.chdir(root)

    # Names outside ASCII, long names, names that differ only in case, and names whose index order
    # depends on the up-case table.
    os.mkdir("unicode")
    names = ["日本語", "café.txt", "Ω", "\U0001F4C1 folder", "ä-umlaut", "Ä-second", "ß", "é", "E", "z", "Z_",
             "a_b", "a-b", "A1", "[bracket]", "~tilde", "$dollar", "Case.txt", "case.txt", "\u0130dotted",
             "ǅ", "ﬀ", "x" * 255, "長" * 120, "mixed Ünïcödé ñame.dat"]
    for i, name in enumerate(names):
        if i % 3 == 0:
            os.mkdir(os.path.join("unicode", name))
            write(os.path.join("unicode", name, "inner.bin"), 100 + i, rng)
        else:
            write(os.path.join("unicode", name), 10 * i, rng)

    # Many files in one folder: index blocks well past the first.
    os.mkdir("many")
    for i in range(3000):
        name = "".join(rng.choice("abcdefghijklmnopqrstuvwxyzABCDEFGHIJ0123456789_-") for _ in range(rng.randint(1, 40)))
        path = os.path.join("many", f"{name}.{i}")
        write(path, rng.choice([0, 1, 600, 700, 4096, 4097, 65536, rng.randrange(1 << 22)]), rng)

    # Nesting.
    path = "deep"
    for level in range(120):
        path = os.path.join(path, f"level{level}")
        os.makedirs(path)
        write(os.path.join(path, "f"), level, rng)

    # Hard links: one file under several names in several folders.
    os.makedirs("links/a/b")
    write("links/original", 1234, rng)
    for target in ("links/second", "links/a/third", "links/a/b/fourth", "unicode/link-from-elsewhere"):
        os.link("links/original", target)

    # Enough names or streams that the attributes no longer fit one record.
    os.mkdir("attrlist")
    write("attrlist/many-names", 5000, rng)
    for i in range(40):
        os.link("attrlist/many-names", f"attrlist/link_{i:03d}_" + "L" * 200)
    write("attrlist/many-streams", 333, rng)
    for i in range(30):
        os.setxattr("attrlist/many-streams", f"user.stream{i:02d}", b"q" * 300)
    os.makedirs("attrlist/folder-with-streams")
    for i in range(30):
        os.setxattr("attrlist/folder-with-streams", f"user.s{i:02d}", b"r" * 300)
    write("attrlist/folder-with-streams/child", 7, rng)

    # Sparse and odd sizes, alternate data streams (never counted).
    os.mkdir("sizes")
    write("sizes/five-gib-sparse", 5 << 30)
    write("sizes/exact-4096", 4096, rng)
    write("sizes/one", 1, rng)
    write("sizes/empty", 0)
    write("sizes/with-streams", 55, rng)
    os.setxattr("sizes/with-streams", "user.hidden", b"h" * 60000)
    os.setxattr("sizes/with-streams", "user.small", b"s" * 10)

    # Links of the name-surrogate kinds: listed, never entered.
    os.makedirs("reparse/target/inside")
    write("reparse/target/inside/data", 999, rng)
    os.mkdir("reparse/junction")
    set_reparse("reparse/junction", reparse_buffer(0xA0000003, r"\??\C:\reparse\target", r"C:\reparse\target"))
    os.mkdir("reparse/dirlink")
    set_reparse("reparse/dirlink", reparse_buffer(0xA000000C, "target", "target", relative=True))
    write("reparse/filelink", 0)
    set_reparse("reparse/filelink", reparse_buffer(0xA000000C, r"target\inside\data", r"target\inside\data", True))

    # Short names beside long ones: the short ones are no entries of their own.
    os.mkdir("dos")
    for long_name, short in (("Long File Name.text", "LONGFI~1.TEX"), ("another long one", "ANOTHE~1")):
        write(os.path.join("dos", long_name), 21, rng)
        os.setxattr(os.path.join("dos", long_name), "system.ntfs_dos_name", short.encode())
    os.makedirs("dos/Program Files Folder")
    os.setxattr("dos/Program Files Folder", "system.ntfs_dos_name", b"PROGRA~1")

    os.mkdir("empty")

    # Targets of the damage tests.
    os.makedirs("victims/folder/sub")
    write("victims/file", 77, rng)
    write("victims/folder/a", 5, rng)
    write("victims/folder/sub/b", 6, rng)
    write("victims/keep", 8, rng)
    write("victims/large", 9000, rng)
    for name in ("victims/file", "victims/folder", "victims/folder/sub", "victims/large", "victims", "unicode", "many",
                 "attrlist/many-names", "attrlist/many-streams", "reparse", "dos"):
        manifest.append(f"{name} {os.stat(name, follow_symlinks=False).st_ino}")


def fill_deep(root, manifest, depth=1000):
    os.chdir(root)
    os.mkdir("chain")
    os.chdir("chain")
    for _ in range(depth):
        os.mkdir("d")
        os.chdir("d")
    write("bottom", 42)
    manifest.append(f"deep-levels {depth}")


def fill_reparse(root):
    os.chdir(root)
    # Reparse points that are no name surrogates are entered like any folder; the driver cannot list them
    # (it wants a plug-in), so the tests hold the expected tree themselves.
    for tag in (0x9000001A, 0x80000017):
        folder = f"entered-{tag:08x}"
        os.makedirs(os.path.join(folder, "sub"))
        write(os.path.join(folder, "inner"), 3)
        write(os.path.join(folder, "sub", "x"), 5)
        set_reparse(folder, struct.pack("<IHH", tag, 8, 0) + b"abcdefgh")
        write(f"file-{tag:08x}", 11)
        set_reparse(f"file-{tag:08x}", struct.pack("<IHH", tag, 8, 0) + b"abcdefgh")
    os.mkdir("junction")
    set_reparse("junction", reparse_buffer(0xA0000003, r"\??\C:\entered-9000001a", r"C:\entered-9000001a"))
    write("plain", 4)


def fill_fragmented(root, folders=20, per_folder=200):
    """Fills the volume with files, frees every other one and then creates enough files that the file
    table must grow into the holes left: its data then lies in many runs."""
    os.chdir(root)
    os.mkdir("fill")
    block = bytes([0xA5]) * (256 << 10)
    count = 0
    try:
        while True:
            with open(os.path.join("fill", f"{count:04d}"), "wb") as f:
                f.write(block)
            count += 1
    except OSError:  # the volume is full
        pass
    for i in range(0, count, 2):
        os.remove(os.path.join("fill", f"{i:04d}"))
    for d in range(folders):
        os.mkdir(f"d{d:02d}")
        for i in range(per_folder):
            write(os.path.join(f"d{d:02d}", f"f{i:04d}"), i % 7)


def fill_bench(root, files, folders):
    """`folders` folders, three levels deep, and `files` sparse files spread over them, with names of mixed
    lengths."""
    rng = random.Random(2024)
    os.chdir(root)
    paths = []
    per_top = max(1, int(round(folders ** (1 / 3))))
    made = 0
    while made < folders:
        a = f"top{made // (per_top * per_top):04d}"
        b = f"mid{(made // per_top) % per_top:03d}"
        c = f"leaf{made % per_top:03d} " + "n" * rng.randint(0, 30)
        p = os.path.join(a, b, c)
        os.makedirs(p)
        paths.append(p)
        made += 1
    for i in range(files):
        p = os.path.join(paths[i % len(paths)], f"file{i:07d}" + "x" * rng.randint(0, 20) + ".dat")
        with open(p, "wb") as f:
            size = rng.choice([0, 100, 3000, 70000, rng.randrange(1 << 24)])
            if size > 700:
                f.truncate(size)
            elif size:
                f.write(b"b" * size)


def main():
    out = os.path.abspath(sys.argv[1])
    os.makedirs(out, exist_ok=True)
    reason = why_not()
    if os.path.exists(os.path.join(out, "SKIP")):
        os.remove(os.path.join(out, "SKIP"))
    if "--bench" in sys.argv:
        files, folders = int(sys.argv[3]), int(sys.argv[4])
        if reason:
            sys.exit(f"make-ntfs-images: cannot make the benchmark image: {reason}")
        image = os.path.join(out, f"bench-{files}.img")
        with Mounted(image + ".tmp", 8192, os.path.join(out, "mnt")) as mnt:
            fill_bench(mnt, files, folders)
        os.replace(image + ".tmp", image)
        return
    if reason:
        with open(os.path.join(out, "SKIP"), "w") as f:
            f.write(reason + "\n")
        print(f"make-ntfs-images: skipped: {reason}")
        return
    manifest = []
    mnt = os.path.join(out, "mnt")
    if os.path.ismount(mnt):  # left by an interrupted run
        subprocess.run(["umount", mnt], check=False)
    for stale in ("SKIP", "tree.img", "deep.img", "reparse.img", "fragmented.img", "manifest.txt"):
        if os.path.exists(os.path.join(out, stale)):
            os.remove(os.path.join(out, stale))
    with Mounted(os.path.join(out, "tree.img"), 512, mnt) as root:
        fill_tree(root, manifest)
    with Mounted(os.path.join(out, "deep.img"), 128, mnt) as root:
        fill_deep(root, manifest)
    with Mounted(os.path.join(out, "reparse.img"), 16, mnt) as root:
        fill_reparse(root)
    with Mounted(os.path.join(out, "fragmented.img"), 64, mnt) as root:
        fill_fragmented(root)
    with open(os.path.join(out, "manifest.txt"), "w") as f:
        f.write("\n".join(manifest) + "\n")
    print(f"make-ntfs-images: images in {out}")


if __name__ == "__main__":
    main()
