#!/usr/bin/env bash
# A whole installation and its uninstallation of 2,000 files / 200 MB (make_payload.py):
# our installer and uninstaller against NSIS 3's zlib installer and its uninstaller, in
# the same run, under Wine on a virtual display.
#   tests/bench/install_bench.sh [build folder]      (default: build)
# Times and peak memory come from tests/support/setup_driver.exe; see BENCHMARKS.md.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$build"
fi
cmake --build "$build/ship" --target deliverables >/dev/null
cmake --build "$build/win" --target setup_driver >/dev/null
run="$build/win/wine-run"
driver="$build/win/tests/setup_driver.exe"
work=$(mktemp -d /tmp/install_bench.XXXXXX)
trap '"$run" --cleanup; rm -rf "$work"' EXIT
winpath() { local p=${1//\//\\}; echo "Z:$p"; }

python3 "$root/tests/bench/make_payload.py" "$work/app"
echo "payload: $(find "$work/app" -type f | wc -l) files, $(du -sb "$work/app" | cut -f1) bytes"

# Ours: the sample's look and language, no license, read-me, group or tasks; an
# uninstaller and an uninstall entry, as NSIS's script below has them.
config="$work/config"
mkdir -p "$config/Config" "$config/Languages"
cp -r "$root/examples/sample/config/Resources" "$config/"
cp "$root/examples/sample/config/Languages/English@ascii.ini" "$config/Languages/"
sed 's/$/\r/' >"$config/Config/Script.ini" <<'INI'
[Header]
FileID = Corvalis Installer Script
FileVersion = 1
[Localization]
Default = English
[GeneralInformation]
AppName = Corvalis Bench
Version = 1.0
CompanyName = Corvalis Samples
Website = 
Email = 
Compression = 9
W98 = 1
WME = 1
WNT = 1
W2K = 1
WXP = 1
WV = 1
DotNet = 0
RunIfDepNotFound = 
[Look]
WizBitmap = Resources\WizBitmap.bmp
HeadBitmap = Resources\HeadBitmap.bmp
IconFile = 
HeaderTextColour = $000000
[FilesAndSettings]
RequireReadme = 0
RequireLicense = 0
[uConfig]
CreateUninstaller = 1
RebootRequired = 0
SkipExtString = 
IconExtUninst = 1
IconExtCustom = 0
IconExtPath = 
IconExtIndex = 0
[iConfig]
RebootRequired = 0
PathChangeable = 1
DefaultPath = <ProgramFiles>Corvalis Bench\
AutoCreateStartMenu = 0
CreateInternetLink = 0
CreateUninstallLink = 0
ForceGroupCreation = 0
INI
"$build/dist/mkinstaller" --stub "$build/dist/Installer.exe" --app "$work/app" --config "$config" \
  --output "$work/BenchSetup.exe" 2>/dev/null

# NSIS: zlib (its default deflate, level 9, like mkinstaller's default), the same files;
# the uninstaller deletes them one by one and their folders, as ours does from its list.
(cd "$work/app" && find . -type f | sort | sed 's|^\./||; s|/|\\|g; s|.*|  Delete "$INSTDIR\\&"|'
 find . -mindepth 1 -type d | sort -r | sed 's|^\./||; s|/|\\|g; s|.*|  RMDir "$INSTDIR\\&"|') >"$work/uninstall.nsh"
cat >"$work/bench.nsi" <<NSI
!define ENTRY "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\NSIS Bench"
Name "NSIS Bench"
OutFile "$work/NsisSetup.exe"
SetCompressor zlib
InstallDir "\$PROGRAMFILES\\NSIS Bench"
RequestExecutionLevel admin
Page directory
Page instfiles
Section
  SetOutPath "\$INSTDIR"
  File /r "$work/app/*.*"
  WriteUninstaller "\$INSTDIR\\Uninst.exe"
  WriteRegStr HKLM "\${ENTRY}" "DisplayName" "NSIS Bench"
  WriteRegStr HKLM "\${ENTRY}" "UninstallString" '"\$INSTDIR\\Uninst.exe"'
SectionEnd
Section Uninstall
  !include "$work/uninstall.nsh"
  Delete "\$INSTDIR\\Uninst.exe"
  RMDir "\$INSTDIR"
  DeleteRegKey HKLM "\${ENTRY}"
SectionEnd
NSI
makensis -V1 "$work/bench.nsi" >/dev/null
echo "packages: ours $(stat -c %s "$work/BenchSetup.exe") bytes, NSIS $(stat -c %s "$work/NsisSetup.exe") bytes"

"$run" --setup
prefix=$(sed -n 's/^export WINEPREFIX="\(.*\)"$/\1/p' "$run")
ours_dir="$prefix/drive_c/Program Files/Corvalis Bench"
nsis_dir="$prefix/drive_c/Program Files/NSIS Bench"
rm -rf "$ours_dir" "$nsis_dir"  # an earlier run that stopped half-way
files() { [ -d "$1" ] && find "$1" -type f | wc -l || echo 0; }
drive() { "$run" "$driver" "$@" 2>&1 | tr -d '\r' || true; }

echo "load before: $(uptime)"
# What any program costs under this Wine (and emulator, where there is one).
floor=$(drive run "C:\\windows\\system32\\cmd.exe" /c exit)
ours_install=$(drive install "$(winpath "$work/BenchSetup.exe")")
ours_files=$(files "$ours_dir")
nsis_install=$(drive run "$(winpath "$work/NsisSetup.exe")" /S)
nsis_files=$(files "$nsis_dir")
ours_uninstall=$(drive uninstall "C:\\Program Files\\Corvalis Bench\\Uninst0.exe")
ours_left=$(files "$ours_dir")
nsis_uninstall=$(drive run "C:\\Program Files\\NSIS Bench\\Uninst.exe" /S)
nsis_left=$(files "$nsis_dir")
echo "load after:  $(uptime)"

python3 - "$ours_install" "$nsis_install" "$ours_uninstall" "$nsis_uninstall" \
  "$ours_files" "$nsis_files" "$ours_left" "$nsis_left" "$floor" <<'PY'
import sys
def parse(text):
    values = dict(line.split(" = ", 1) for line in text.splitlines() if " = " in line)
    values["_errors"] = [line for line in text.splitlines() if line.startswith("setup_driver:")]
    return values
ours_i, nsis_i, ours_u, nsis_u = map(parse, sys.argv[1:5])
ours_files, nsis_files, ours_left, nsis_left = sys.argv[5:9]
floor = parse(sys.argv[9])
def cell(values, key, unit=""):
    return values[key] + unit if key in values else "failed"
def mib(values, key):
    return "%.1f MiB" % (int(values[key]) / 1024) if key in values else "failed"
rows = [
    ("installation (start to finish page, robot excluded)", cell(ours_i, "installation_s", " s"), cell(nsis_i, "run_s", " s")),
    ("  of it: start to wizard / last Next to finish page",
     "%s s / %s s" % (ours_i.get("start_to_wizard_s", "?"), ours_i.get("last_next_to_finish_page_s", "?")), "(silent /S)"),
    ("  Finish to the end (writes uninstall data)", cell(ours_i, "finish_to_end_s", " s"), "(in the run)"),
    ("peak working set, installation", mib(ours_i, "peak_working_set_kib"), mib(nsis_i, "peak_working_set_kib")),
    ("peak private bytes seen, installation", mib(ours_i, "peak_private_kib"), mib(nsis_i, "peak_private_kib")),
    ("  of it reached when the wizard showed (WS / private)",
     "%s / %s" % (mib(ours_i, "peak_working_set_at_wizard_kib"), mib(ours_i, "peak_private_at_wizard_kib")), ""),
    ("files in the install folder", ours_files, nsis_files),
    ("uninstallation (robot excluded)", cell(ours_u, "uninstallation_s", " s"), cell(nsis_u, "run_s", " s")),
    ("files left after uninstallation", ours_left, nsis_left),
]
print("%-52s %-18s %s" % ("", "ours", "NSIS 3 zlib"))
for name, ours, nsis in rows:
    print("%-52s %-18s %s" % (name, ours, nsis))
print("Wine's floor, cmd.exe /c exit: %s, peak working set %s, private %s" % (
    cell(floor, "run_s", " s"), mib(floor, "peak_working_set_kib"), mib(floor, "peak_private_kib")))
for label, values in (("ours, install", ours_i), ("NSIS, install", nsis_i),
                      ("ours, uninstall", ours_u), ("NSIS, uninstall", nsis_u)):
    for error in values["_errors"]:
        print("%s: %s" % (label, error))
PY
