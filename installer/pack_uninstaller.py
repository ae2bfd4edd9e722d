#!/usr/bin/env python3
"""Packs the uninstaller program for the installer to carry: zlib-format bytes for its
resource (libdeflate's strongest level, which zlib's inflate reads), and a header with the
program's original length."""
import os
import subprocess
import sys
import zlib

# Far above any uninstaller we build; the installer reserves this much at "Finish".
MAX_IMAGE_BYTES = 4 * 1024 * 1024


def zlib_stream(data):
    """libdeflate's deflate stream, taken out of its gzip wrapping into zlib's."""
    gz = subprocess.run(["libdeflate-gzip", "-12", "-c"], input=data, stdout=subprocess.PIPE,
                        check=True).stdout
    if gz[:3] != b"\x1f\x8b\x08":
        sys.exit("pack_uninstaller: libdeflate-gzip wrote no gzip stream")
    flags, at = gz[3], 10
    if flags & 4:
        at += 2 + gz[at] + 256 * gz[at + 1]
    for flag in (8, 16):
        if flags & flag:
            at = gz.index(b"\0", at) + 1
    if flags & 2:
        at += 2
    stream = b"\x78\xda" + gz[at:-8] + zlib.adler32(data).to_bytes(4, "big")
    if zlib.decompress(stream) != data:
        sys.exit("pack_uninstaller: the packed program doesn't inflate to itself")
    return stream


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: pack_uninstaller.py Uninstaller.exe image.z image_length.h")
    source, packed, header = sys.argv[1:]
    with open(source, "rb") as f:
        image = f.read()
    if not image or len(image) > MAX_IMAGE_BYTES:
        sys.exit("pack_uninstaller: %s is %d bytes" % (source, len(image)))
    for path, data in ((packed, zlib_stream(image)),
                       (header, ("// Made by pack_uninstaller.py from the uninstaller of this build.\n"
                                 "#pragma once\n\n"
                                 "constexpr unsigned long kUninstallerImageBytes = %d;\n" % len(image)).encode())):
        temporary = path + ".tmp"
        with open(temporary, "wb") as f:
            f.write(data)
        os.replace(temporary, path)


if __name__ == "__main__":
    main()
