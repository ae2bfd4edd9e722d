#!/usr/bin/env python3
"""Packs the uninstaller program for the installer to carry: zlib-compressed bytes for
its resource, and a header with the program's original length."""
import os
import sys
import zlib

# Far above any uninstaller we build; the installer reserves this much at "Finish".
MAX_IMAGE_BYTES = 4 * 1024 * 1024


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: pack_uninstaller.py Uninstaller.exe image.z image_length.h")
    source, packed, header = sys.argv[1:]
    with open(source, "rb") as f:
        image = f.read()
    if not image or len(image) > MAX_IMAGE_BYTES:
        sys.exit("pack_uninstaller: %s is %d bytes" % (source, len(image)))
    for path, data in ((packed, zlib.compress(image, 9)),
                       (header, ("// Made by pack_uninstaller.py from the uninstaller of this build.\n"
                                 "#pragma once\n\n"
                                 "constexpr unsigned long kUninstallerImageBytes = %d;\n" % len(image)).encode())):
        temporary = path + ".tmp"
        with open(temporary, "wb") as f:
            f.write(data)
        os.replace(temporary, path)


if __name__ == "__main__":
    main()
