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
#        [, resources: {file name: new bytes, or None to leave the file out}
#        [, installation: {"InstTasks"/"UninstTasks": [(name, line), ...] replacing the
#           sample's group, "app": the application folder, see APPS}]])
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
    # Installations, each with names of its own.
    # Every task type once or more, with the test service and the test COM server in
    # the application folder and a download from the loopback server.
    "every_task": ({"AppName": "Corvalis Every Task", "DefaultPath": "<ProgramFiles>Corvalis Every Task\\",
                    "Website": "http://127.0.0.1/every-task", "CompanyName": "Corvalis Testers",
                    "RequireLicense": "0", "RequireReadme": "0", "SkipExtString": "log"},
                   {ENGLISH: (ENGLISH, None)}, {},
                   {"app": "every", "InstTasks": [
                       ("EndNothing", "KILLTASK" + P + "corvalis_every_task_none.exe, ,corvalis_every_task_none2.exe"),
                       ("AddKey", "REGADDKEY" + P + "HKCU" + P + P + P + "Software\\Corvalis Every Task"),
                       ("AddPath", "REGADDVALUE" + P + "HKCU" + P + "Path" + P + "<DefaultInstallPath>" + P +
                        "Software\\Corvalis Every Task" + P + "REG_SZ"),
                       ("AddCount", "REGADDVALUE" + P + "HKCU" + P + "Count" + P + "7" + P +
                        "Software\\Corvalis Every Task" + P + "REG_DWORD"),
                       ("AddOld", "REGADDVALUE" + P + "HKCU" + P + "Old" + P + "x" + P +
                        "Software\\Corvalis Every Task" + P + "REG_SZ"),
                       ("AddScratch", "REGADDKEY" + P + "HKCU" + P + P + P + "Software\\Corvalis Every Task\\Scratch"),
                       ("DropOld", "REGDELVALUE" + P + "HKCU" + P + "Old" + P + P + "Software\\Corvalis Every Task"),
                       ("DropScratch", "REGDELKEY" + P + "HKCU" + P + P + P + "Software\\Corvalis Every Task\\Scratch"),
                       ("MakeFolder", "CREATEFOLDER" + P + "<DefaultInstallPath>Made"),
                       ("CopyGuide", "COPYFILE" + P + "<DefaultInstallPath>Docs\\Guide.txt" + P +
                        "<DefaultInstallPath>Made\\Guide copy.txt"),
                       ("MoveNotes", "MOVEFILE" + P + "<DefaultInstallPath>Notes.txt" + P + "<DefaultInstallPath>Made\\Notes.txt"),
                       ("DropFile", "DELETEFILE" + P + "<DefaultInstallPath>Scratch.txt"),
                       ("DropFolder", "DELETEFOLDER" + P + "<DefaultInstallPath>Old" + P + "1" + P + "1"),
                       ("Associate", "ASSOCIATEEXTENSION" + P + "cevt" + P + "Corvalis every task document" + P +
                        "<Windows>notepad.exe" + P + "0"),
                       ("Disassociate", "DISASSOCIATEEXTENSION" + P + "cevtold" + P + "notepad.exe"),
                       ("GuideLink", "NORMALLINK" + P + "17" + P + "Guide" + P + "<DefaultInstallPath>Docs\\Guide.txt" +
                        P + "0" + P + "0" + P + "The guide"),
                       ("WebLink", "INTERNETLINK" + P + "17" + P + "<ProgramName> on the web" + P + "<CompanyWebsite>" + P + "0"),
                       ("DesktopLink", "NORMALLINK" + P + "11" + P + "<ProgramName>" + P +
                        "<DefaultInstallPath>Sample.txt" + P + "1" + P + "0" + P + "the sample"),
                       ("DesktopWeb", "INTERNETLINK" + P + "11" + P + "<ProgramName> web" + P + "<CompanyWebsite>" + P + "1"),
                       ("RunNow", "RUN" + P + "1" + P + "1" + P + "1" + P + "<System>cmd.exe" + P +
                        "/c echo ran>\"<Temp>corvalis_every_task_run.txt\"" + P),
                       ("RunLater", "RUN" + P + "1" + P + "1" + P + "0" + P + "<System>cmd.exe" + P +
                        "/c echo ran>\"<Temp>corvalis_every_task_finish.txt\"" + P + "the finish command"),
                       ("Service", "INSTALLSERVICE" + P + "CorvalisEveryTask" + P + "Corvalis Every Task Service" + P +
                        "<DefaultInstallPath>every_task_service.exe" + P + "Test service" + P + "3"),
                       ("StopService", "STOPSERVICE" + P + "CorvalisEveryTask"),
                       ("StartService", "STARTSERVICE" + P + "CorvalisEveryTask"),
                       ("SecondService", "INSTALLSERVICE" + P + "CorvalisEveryTaskGone" + P +
                        "Corvalis Every Task Gone" + P + "<DefaultInstallPath>every_task_service.exe" + P + P + "4"),
                       ("RemoveSecond", "REMOVESERVICE" + P + "CorvalisEveryTaskGone"),
                       ("Register", "REGISTERSERVER" + P + "<DefaultInstallPath>every_task_server.dll"),
                       ("Unregister", "UNREGISTERSERVER" + P + "<DefaultInstallPath>every_task_none.dll"),
                       ("Download", "DOWNLOADFILE" + P + "http://127.0.0.1/every_task.bin" + P +
                        "<DefaultInstallPath>every_task.bin"),
                       ("Font", "INSTALLFONT" + P + P + "<DefaultInstallPath>none.ttf"),
                       ("Empty", ""),
                       ("Lower", "regaddkey" + P + "HKCU" + P + P + P + "Software\\Corvalis Every Task Lower")],
                    "UninstTasks": [("Farewell", "RUN" + P + "1" + P + "1" + P + "<System>cmd.exe" + P +
                                     "/c echo gone>\"<Temp>corvalis_every_task_uninstalled.txt\"")]}),
    # A plain installation with a program group and one task; installed twice into one folder.
    "inst_twice": ({"AppName": "Corvalis Twice", "DefaultPath": "<ProgramFiles>Corvalis Twice\\",
                    "RequireLicense": "0", "RequireReadme": "0", "Website": ""},
                   {ENGLISH: (ENGLISH, None)}, {},
                   {"InstTasks": [("MakeFolder", "CREATEFOLDER" + P + "<DefaultInstallPath>Made")], "UninstTasks": []}),
    # Finish page: deferred links and run, the restart item last.
    "inst_finish": ({"AppName": "Corvalis Finish", "DefaultPath": "<ProgramFiles>Corvalis Finish\\",
                     "RequireLicense": "0", "RequireReadme": "0", "AutoCreateStartMenu": "0",
                     "iConfig/RebootRequired": "1"},
                    {ENGLISH: (ENGLISH, None)}, {},
                    {"InstTasks": [
                        ("Ticked", "NORMALLINK" + P + "2" + P + "Ticked" + P + "<DefaultInstallPath>Sample.txt" + P + "1" +
                         P + "0" + P + "ticked"),
                        ("Unticked", "NORMALLINK" + P + "2" + P + "Unticked" + P + "<DefaultInstallPath>Sample.txt" + P +
                         "1" + P + "0" + P + "unticked"),
                        ("Web", "INTERNETLINK" + P + "2" + P + "Web" + P + "<CompanyWebsite>" + P + "1"),
                        ("Later", "RUN" + P + "1" + P + "1" + P + "0" + P + "<System>cmd.exe" + P +
                         "/c echo ran>\"<DefaultInstallPath>ran.txt\"" + P + "the command")],
                     "UninstTasks": []}),
    # The sample's files and one more, six folders of 55 characters deep: a path far beyond
    # what the ANSI calls take once it is below the install folder.
    "inst_deep": ({"AppName": "Corvalis Deep", "DefaultPath": "<ProgramFiles>Corvalis Deep\\",
                   "RequireLicense": "0", "RequireReadme": "0", "AutoCreateStartMenu": "0"},
                  {ENGLISH: (ENGLISH, None)}, {},
                  {"app": "deep", "InstTasks": [], "UninstTasks": []}),
    # Outcomes: a megabyte that doesn't compress, for a destination that fills up; the
    # tests also swap its application archive for damaged and hostile ones.
    "out_disk": ({"AppName": "Corvalis Outcomes", "DefaultPath": "<ProgramFiles>Corvalis Outcomes\\",
                  "RequireLicense": "0", "RequireReadme": "0", "AutoCreateStartMenu": "0"},
                 {ENGLISH: (ENGLISH, None), GERMAN: (GERMAN, None)}, {},
                 {"app": "disk", "InstTasks": [], "UninstTasks": []}),
    # DELETEFOLDER on the roots of drive S: in every spelling; the tests' fixture maps S:
    # to a scratch folder (tests/install/scratch_volumes.sh), which must keep everything.
    "out_roots": ({"AppName": "Corvalis Roots", "DefaultPath": "<ProgramFiles>Corvalis Roots\\",
                   "RequireLicense": "0", "RequireReadme": "0", "AutoCreateStartMenu": "0"},
                  {ENGLISH: (ENGLISH, None)}, {},
                  {"InstTasks": [("Root%d" % i, "DELETEFOLDER" + P + root + P + "1" + P + "1")
                                 for i, root in enumerate(["S:\\", "S:", "S:\\x\\..", "S:\\x\\..\\",
                                                           "\\\\?\\S:\\", "\\\\.\\S:\\", "\\\\?\\S:\\keep",
                                                           "\\\\?\\GLOBALROOT\\Device\\HarddiskVolume1\\",
                                                           "S:\\...\\", "S:/", "S:\\x\\..\x00"])],
                   "UninstTasks": []}),
    # Names outside ASCII: the builder's own archive (code page 437 where it can, UTF-8
    # otherwise), and the same files in archives of Python's zipfile and of 7-Zip, which
    # mark every such name UTF-8 (NAMES_ARCHIVES).
    "out_names": ({"AppName": "Corvalis Names", "DefaultPath": "<ProgramFiles>Corvalis Names\\",
                   "RequireLicense": "0", "RequireReadme": "0", "AutoCreateStartMenu": "0"},
                  {ENGLISH: (ENGLISH, None)}, {}, {"app": "names", "InstTasks": [], "UninstTasks": []}),
    "out_names_zipfile": ({"AppName": "Corvalis Names", "DefaultPath": "<ProgramFiles>Corvalis Names\\",
                           "RequireLicense": "0", "RequireReadme": "0", "AutoCreateStartMenu": "0"},
                          {ENGLISH: (ENGLISH, None)}, {}, {"app": "names", "InstTasks": [], "UninstTasks": []}),
    "out_names_7zip": ({"AppName": "Corvalis Names", "DefaultPath": "<ProgramFiles>Corvalis Names\\",
                        "RequireLicense": "0", "RequireReadme": "0", "AutoCreateStartMenu": "0"},
                       {ENGLISH: (ENGLISH, None)}, {}, {"app": "names", "InstTasks": [], "UninstTasks": []}),
    # Thousands of small files in a few folders, so that a cancel catches the unpacking.
    "inst_cancel": ({"AppName": "Corvalis Cancel", "DefaultPath": "<ProgramFiles>Corvalis Cancel\\",
                     "RequireLicense": "0", "RequireReadme": "0", "AutoCreateStartMenu": "0"},
                    {ENGLISH: (ENGLISH, None)}, {},
                    {"app": "many", "InstTasks": [], "UninstTasks": []}),
}


# Solid variants (mkinstaller --solid) of packages that tests run both ways.
SOLID = {"every_task_solid": "every_task", "inst_cancel_solid": "inst_cancel", "out_disk_solid": "out_disk"}
DOT_NAMES = {"cfg_dot_names"}
NAMES_ARCHIVES = {"out_names_zipfile": "zipfile", "out_names_7zip": "7zip"}
NAMES = ["Caf\u00e9.txt", "Se\u00f1or/a\u00f1o.txt", "\u0141\u00f3d\u017a.txt", "plain.txt"]


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


def replace_program_archive(path, archive):
    """Puts another application archive into a built package and fixes the trailer."""
    with open(path, "rb") as f:
        data = f.read()
    info_bytes, program_bytes = struct.unpack("<II", data[-11:-3])
    program_start = len(data) - 11 - info_bytes - program_bytes
    info = data[program_start + program_bytes:len(data) - 11]
    with open(path, "wb") as f:
        f.write(data[:program_start] + archive + info + struct.pack("<II", len(info), len(archive)) + b"EOF")


def names_archive(kind, folder, scratch):
    """The application folder as Python's zipfile or 7-Zip stores it: every name that is
    not ASCII in UTF-8, with the entry's flag bit 11."""
    target = os.path.join(scratch, kind + ".zip")
    if os.path.exists(target):
        os.remove(target)
    if kind == "zipfile":
        with zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED) as archive:
            for name in NAMES:
                archive.write(os.path.join(folder, name), name)
    else:
        seven = shutil.which("7zz") or shutil.which("7z")
        if not seven:
            return None
        subprocess.run([seven, "a", "-tzip", "-mcu=on", target] + NAMES, cwd=folder, check=True,
                       stdout=subprocess.DEVNULL)
    with open(target, "rb") as f:
        return f.read()


def replace_group(script, group, tasks):
    newline = "\r\n" if "\r\n" in script else "\n"
    body = "".join("%s = %s%s" % (name, line, newline) for name, line in tasks)
    script, count = re.subn(r"(?ms)^\[%s\]\r?\n.*?(?=^\[|\Z)" % group,
                            lambda m: "[%s]%s%s%s" % (group, newline, body, newline), script)
    if count != 1:
        sys.exit("make_test_packages: group %s is not in the sample script once" % group)
    return script


def make_app(kind, folder, args):
    """The application folder of a package: the sample's, or one made here."""
    if kind is None:
        return os.path.join(args.sample, "app")
    shutil.rmtree(folder, ignore_errors=True)
    if kind == "every":
        shutil.copytree(os.path.join(args.sample, "app"), folder)
        for source, name in ((args.test_service, "every_task_service.exe"), (args.test_server, "every_task_server.dll")):
            if not source:
                sys.exit("make_test_packages: every_task needs --test-service and --test-server")
            shutil.copyfile(source, os.path.join(folder, name))
    elif kind == "deep":
        shutil.copytree(os.path.join(args.sample, "app"), folder)
        deep = os.path.join(folder, *[("%d" % level) * 55 for level in range(1, 7)])
        os.makedirs(deep)
        with open(os.path.join(deep, "deep.txt"), "w") as f:
            f.write("six folders down\n")
    elif kind == "disk":
        shutil.copytree(os.path.join(args.sample, "app"), folder)
        with open(os.path.join(folder, "big.bin"), "wb") as f:
            f.write(os.urandom(1024 * 1024))
    elif kind == "names":
        for name in NAMES:
            os.makedirs(os.path.dirname(os.path.join(folder, name)) or folder, exist_ok=True)
            with open(os.path.join(folder, name), "w", encoding="utf-8") as f:
                f.write("the file " + name + "\n")
    elif kind == "many":
        for sub in range(6):
            os.makedirs(os.path.join(folder, "Part%d" % sub, "Inner"))
            for i in range(500):
                inner = "Inner" if i % 2 else ""
                with open(os.path.join(folder, "Part%d" % sub, inner, "f%03d.txt" % i), "w") as f:
                    f.write("file %d of part %d\n" % (i, sub) * 20)
        os.makedirs(os.path.join(folder, "Keep"))
        with open(os.path.join(folder, "Keep", "k.txt"), "w") as f:
            f.write("kept folder\n")
    return folder


def set_keys(script, keys):
    for key, value in keys.items():
        if "/" in key:  # "group/key": a key that more than one group has
            group, key = key.split("/")
            script, count = re.subn(r"(?ms)^(\[%s\][^\[]*?^%s = )[^\r\n]*" % (group, key),
                                    lambda m: m.group(1) + value, script)
            if count != 1:
                sys.exit("make_test_packages: %s is not in the sample script's %s once" % (key, group))
            continue
        script, count = re.subn(r"(?m)^%s = [^\r\n]*" % re.escape(key),
                                lambda m: "%s = %s" % (key, value), script)
        if count != 1:
            sys.exit("make_test_packages: key %s is not in the sample script once" % key)
    return script


def rename_language(text, name):
    return re.sub(r"(?m)^Language = [^\r\n]*", "Language = " + name, text, count=1)


def build(name, keys, languages, resources=None, installation=None, *, args, solid=False):
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
    for group in ("InstTasks", "UninstTasks"):
        if installation and group in installation:
            script = replace_group(script, group, installation[group])
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
    app = make_app((installation or {}).get("app"), os.path.join(args.out, "src", name + "_app"), args)
    # Several are broken on purpose, for the installer to meet: built leniently.
    subprocess.run([args.mkinstaller, "--stub", args.stub, "--app", app,
                    "--config", config, "--output", output, "--level", "1", "--lenient"] + (["--solid"] if solid else []),
                   check=True,
                   stderr=subprocess.DEVNULL)
    if name in DOT_NAMES:
        prefix_information_names(output)
    if name in NAMES_ARCHIVES:
        archive = names_archive(NAMES_ARCHIVES[name], app, os.path.join(args.out, "src"))
        if archive is None:
            os.remove(output)  # no 7-Zip here: the test says it skipped
        else:
            replace_program_archive(output, archive)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--mkinstaller", required=True)
    parser.add_argument("--stub", required=True)
    parser.add_argument("--sample", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--test-service")
    parser.add_argument("--test-server")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    for name, layout in PACKAGES.items():
        build(name, *layout, args=args)
    for name, base in SOLID.items():
        build(name, *PACKAGES[base], args=args, solid=True)


if __name__ == "__main__":
    main()
