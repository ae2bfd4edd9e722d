#!/usr/bin/env python3
"""The benchmarks' payload: 2,000 files of 100 KiB (204.8 MB) in 20 folders, each file
half pseudo-random bytes (incompressible) and half repeated text (compresses well), so
that an archive holds both kinds of data. The same bytes on every run (seeded).
    make_payload.py FOLDER"""
import os
import random
import sys

FOLDERS = 20
FILES_PER_FOLDER = 100
HALF = 51200


def main():
    root = sys.argv[1]
    rng = random.Random(20261207)
    text = b"".join(b"line %05d of a text file that compresses well\r\n" % i for i in range(1100))[:HALF]
    for folder in range(FOLDERS):
        path = os.path.join(root, "folder%02d" % folder)
        os.makedirs(path)
        for n in range(FILES_PER_FOLDER):
            with open(os.path.join(path, "file%03d.dat" % n), "wb") as f:
                f.write(rng.randbytes(HALF) + text)


if __name__ == "__main__":
    main()
