#!/usr/bin/env python3
"""A 7z archive as another 7-Zip user might make it, for the installer's solid reader: files
stored against name order, in blocks of two files, behind the x86 filter, beside the files
themselves (folder/files)."""
import os
import random
import shutil
import subprocess
import sys

out = sys.argv[1]
files = os.path.join(out, "files")
shutil.rmtree(out, ignore_errors=True)
os.makedirs(os.path.join(files, "Sub", "Empty"))
rng = random.Random(7)
contents = {
    # Random bytes hold many x86 call opcodes, and span several of the reader's buffers.
    "a_random.bin": bytes(rng.getrandbits(8) for _ in range(300000)),
    "b_text.txt": b"".join(b"line %d\r\n" % i for i in range(20000)),
    "c_empty.txt": b"",
    "Sub/d_small.txt": b"small",
    "Sub/e_random.bin": bytes(rng.getrandbits(8) for _ in range(70000)),
}
for name, data in contents.items():
    with open(os.path.join(files, name), "wb") as f:
        f.write(data)
names = sorted(contents, reverse=True) + ["Sub/Empty"]
subprocess.run(["7zz", "a", "-t7z", "-mf=BCJ", "-ms=2f", "-mx=5", "-bso0", "-bsp0",
                os.path.join(os.path.abspath(out), "sample.7z")] + names, cwd=files, check=True)
