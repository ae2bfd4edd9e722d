#!/usr/bin/env python3
"""Builds the installers of the configuration end-to-end tests from examples/sample:
each one a copy of the sample's configuration with a few script keys or language
files changed, packed by mkinstaller under a name of its own (Wine's reported
Windows version is set per program name)."""
import argparse
import io
import os
import re
import shutil
import struct
import subprocess
import sys
import zipfile

P = "\u00b6"

ENGLISH = "English@ascii.ini"
GERMAN = "German@utf-8.ini"

NOT_A_BITMAP = b"BM this is no bitmap"

# name: (script keys to set, language files: {file name: (source file, new Language)}
#        [, resources: {file name: new bytes, or None to leave the file out}])
PACKAGES = {
    "cfg_one_language": ({}, {ENGLISH: (ENGLISH, None)}),
    # "english" sorts after "English": the later exact "english" is preselected.
    "cfg_languages": ({}, {ENGLISH: (ENGLISH, None), GERMAN: (GERMAN, None),
                           "Zz-english@ascii.ini": (ENGLISH, "english")}),
    "cfg_no_language": ({}, {"Broken.ini": (None, None)}),
    # Repacked afterwards with "./" in front of every information entry (DOT_NAMES).
    "cfg_dot_names": ({}, {ENGLISH: (ENGLISH, None), GERMAN: (GERMAN, None),
                           "Zz-english@ascii.ini": (ENGLISH, "english")}),
    "cfg_russian": ({}, {ENGLISH: (ENGLISH, None), "Russian@utf-8.ini": (GERMAN, "\u0420\u0443\u0441\u0441\u043a\u0438\u0439")}),
    "cfg_forbid_w98": ({"W98": "0"}, {ENGLISH: (ENGLISH, None)}),
    "cfg_forbid_wnt": ({"WNT": "0"}, {ENGLISH: (ENGLISH, None)}),
    "cfg_forbid_w2k": ({"W2K": "0"}, {ENGLISH: (ENGLISH, None)}),
    "cfg_forbid_wxp": ({"WXP": "0"}, {ENGLISH: (ENGLISH, None)}),
    "cfg_forbid_wv": ({"WV": "0"}, {ENGLISH: (ENGLISH, None)}),
    "cfg_forbid_wv2003": ({"WV": "0"}, {ENGLISH: (ENGLISH, None)}),
    "cfg_allow_wxp2003": ({"WXP": "0", "WV": "1"}, {ENGLISH: (ENGLISH, None)}),
    "cfg_dotnet_plain": ({"DotNet": "3", "RunIfDepNotFound": "127.0.0.1/dotnet/setup"},
                         {ENGLISH: (ENGLISH, None)}),
    "cfg_dotnet_upper": ({"DotNet": "3", "RunIfDepNotFound": "HTTP://127.0.0.1/Upper"},
                         {ENGLISH: (ENGLISH, None)}),
    "cfg_dotnet_bare": ({"DotNet": "3", "RunIfDepNotFound": "http://"},
                        {ENGLISH: (ENGLISH, None)}),
    # Wizard walks: every page, a coloured header text ($BBGGRR, dark blue).
    "wiz_full": ({"HeaderTextColour": "$8B0000"}, {ENGLISH: (ENGLISH, None)}),
    "wiz_bare": ({"RequireLicense": "0", "RequireReadme": "0", "AutoCreateStartMenu": "0",
                  "PathChangeable": "0", "Website": "", "ForceGroupCreation": "0"},
                 {ENGLISH: (ENGLISH, None)}),
    # A name that holds its own token, used by the default destination.
    "wiz_self_name": ({"AppName": "<ProgramName> <ProgramName> <ProgramName>",
                       "DefaultPath": "<ProgramFiles><ProgramName>\\",
                       "RequireLicense": "0", "RequireReadme": "0"},
                      {ENGLISH: (ENGLISH, None)}),
    "wiz_no_wizard_bitmap": ({}, {ENGLISH: (ENGLISH, None)}, {"WizBitmap.bmp": None}),
    "wiz_bad_header_bitmap": ({}, {ENGLISH: (ENGLISH, None)}, {"HeadBitmap.bmp": NOT_A_BITMAP}),
    "wiz_no_license": ({}, {ENGLISH: (ENGLISH, None)}, {"License.txt": None}),
}


DOT_NAMES = {"cfg_dot_names"}


def prefix_information_names(path):
    """Rewrites the installer's information archive as another ZIP writer would store it,
    every name starting with "./", and fixes the trailer's length."""
    with open(path, "rb") as f:
        data = f.read()
    if data[-3:] != b"EOF":
        sys.exit("make_test_packages: %s has no trailer" % path)
    info_bytes, program_bytes = struct.unpack("<II", data[-11:-3])
    info_start = len(data) - 11 - info_bytes
    source = zipfile.ZipFile(io.BytesIO(data[info_start:len(data) - 11]))
    repacked = io.BytesIO()
    with zipfile.ZipFile(repacked, "w", zipfile.ZIP_DEFLATED) as target:
        for item in source.infolist():
            renamed = zipfile.ZipInfo("./" + item.filename, item.date_time)
            renamed.external_attr = item.external_attr
            renamed.compress_type = zipfile.ZIP_DEFLATED
            target.writestr(renamed, source.read(item))
    info = repacked.getvalue()
    with open(path, "wb") as f:
        f.write(data[:info_start] + info + struct.pack("<II", len(info), program_bytes) + b"EOF")


def set_keys(script, keys):
    for key, value in keys.items():
        script, count = re.subn(r"(?m)^%s = [^\r\n]*" % re.escape(key),
                                lambda m: "%s = %s" % (key, value), script)
        if count != 1:
            sys.exit("make_test_packages: key %s is not in the sample script once" % key)
    return script


def rename_language(text, name):
    return re.sub(r"(?m)^Language = [^\r\n]*", "Language = " + name, text, count=1)


def build(name, keys, languages, resources=None, *, args):
    config = os.path.join(args.out, "src", name)
    shutil.rmtree(config, ignore_errors=True)
    sample_config = os.path.join(args.sample, "config")
    shutil.copytree(os.path.join(sample_config, "Resources"), os.path.join(config, "Resources"))
    for file_name, data in (resources or {}).items():
        path = os.path.join(config, "Resources", file_name)
        os.remove(path)
        if data is not None:
            with open(path, "wb") as f:
                f.write(data)
    os.makedirs(os.path.join(config, "Config"))
    os.makedirs(os.path.join(config, "Languages"))

    with open(os.path.join(sample_config, "Config", "Script.ini"), encoding="cp1252", newline="") as f:
        script = set_keys(f.read(), keys)
    with open(os.path.join(config, "Config", "Script.ini"), "w", encoding="cp1252", newline="") as f:
        f.write(script)

    for target, (source, language) in languages.items():
        path = os.path.join(config, "Languages", target)
        if source is None:  # a language file without its header group is never offered
            with open(path, "wb") as f:
                f.write(b"[LocalizationStub]\r\nKey0 = Error\r\n")
            continue
        with open(os.path.join(sample_config, "Languages", source), "rb") as f:
            data = f.read()
        if language is not None:
            utf8 = data.startswith(b"\xef\xbb\xbf")
            text = rename_language(data.decode("utf-8-sig" if utf8 else "cp1252"), language)
            data = (b"\xef\xbb\xbf" + text.encode("utf-8")) if utf8 else text.encode("cp1252")
        with open(path, "wb") as f:
            f.write(data)

    output = os.path.join(args.out, name + ".exe")
    subprocess.run([args.mkinstaller, "--stub", args.stub, "--app", os.path.join(args.sample, "app"),
                    "--config", config, "--output", output, "--level", "1"], check=True)
    if name in DOT_NAMES:
        prefix_information_names(output)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--mkinstaller", required=True)
    parser.add_argument("--stub", required=True)
    parser.add_argument("--sample", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    for name, layout in PACKAGES.items():
        build(name, *layout, args=args)


if __name__ == "__main__":
    main()
