#!/usr/bin/env bash
# A whole installation and its uninstallation of 2,000 files / 200 MB (make_payload.py):
# our installer and uninstaller against NSIS 3's zlib installer and its uninstaller, in
# the same run, under Wine on a virtual display; several rounds, then the medians.
#   tests/bench/install_bench.sh [build folder] [rounds]     (defaults: build, 3)
# BENCH_DRIVE=prefix installs into the prefix's Program Files instead of a fresh folder in
# /dev/shm (on the disk the kernel's inode allocation, after many deletions, weighs more
# than either installer). Times and peak memory come from
# tests/support/setup_driver.exe; see BENCHMARKS.md.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
rounds=${2:-3}
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$build" "$rounds"
fi
cmake --build "$build/ship" --target deliverables >/dev/null
cmake --build "$build/win" --target setup_driver winrobot_cli >/dev/null
run="$build/win/wine-run"
driver="$build/win/tests/setup_driver.exe"
robot="$build/dist/winrobot.exe"
work=$(mktemp -d /tmp/install_bench.XXXXXX)
winpath() { local p=${1//\//\\}; echo "Z:$p"; }
"$run" --setup
prefix=${CORVALIS_WINEPREFIX:-$(sed -n 's/^export WINEPREFIX="${CORVALIS_WINEPREFIX:-\(.*\)}"$/\1/p' "$run")}
if [ "${BENCH_DRIVE:-shm}" = prefix ] || [ ! -d /dev/shm ]; then
  target="$prefix/drive_c/Program Files"
  target_win='C:\Program Files'
else
  # Reached through a link: Wine doesn't list /dev, so a path through it has no short form.
  shm=$(mktemp -d /dev/shm/install_bench.XXXXXX)
  target="$work/target"
  ln -s "$shm" "$target"
  target_win=$(winpath "$target")
fi
trap '"$run" --cleanup; rm -rf "$work" ${shm:+"$shm"}' EXIT

python3 "$root/tests/bench/make_payload.py" "$work/app"
echo "payload: $(find "$work/app" -type f | wc -l) files, $(du -sb "$work/app" | cut -f1) bytes"

# Ours: the sample's look and language, no license, read-me, group or tasks; an
# uninstaller and an uninstall entry, as NSIS's script below has them.
config="$work/config"
mkdir -p "$config/Config" "$config/Languages"
cp -r "$root/examples/sample/config/Resources" "$config/"
cp "$root/examples/sample/config/Languages/English@ascii.ini" "$config/Languages/"
sed 's/$/\r/' >"$config/Config/Script.ini" <<INI
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
HeaderTextColour = \$000000
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
DefaultPath = $target_win\Corvalis Bench\\
AutoCreateStartMenu = 0
CreateInternetLink = 0
CreateUninstallLink = 0
ForceGroupCreation = 0
INI
"$build/dist/mkinstaller" --stub "$build/dist/Installer.exe" --app "$work/app" --config "$config" \
  --output "$work/BenchSetup.exe" --lenient 2>/dev/null

# NSIS: zlib (its default deflate, level 9, like mkinstaller's default), the same files;
# the uninstaller deletes them one by one and their folders, as ours does from its list.
(cd "$work/app" && find . -type f | sort | sed 's|^\./||; s|/|\\|g; s|.*|  Delete "$INSTDIR\\&"|'
 find . -mindepth 1 -type d | sort -r | sed 's|^\./||; s|/|\\|g; s|.*|  RMDir "$INSTDIR\\&"|') >"$work/uninstall.nsh"
cat >"$work/bench.nsi" <<NSI
!define ENTRY "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\NSIS Bench"
Name "NSIS Bench"
OutFile "$work/NsisSetup.exe"
SetCompressor zlib
InstallDir "$target_win\\NSIS Bench"
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

ours_dir="$target/Corvalis Bench"
nsis_dir="$target/NSIS Bench"
rm -rf "$ours_dir" "$nsis_dir"  # an earlier run that stopped half-way
files() { [ -d "$1" ] && find "$1" -type f | wc -l || echo 0; }
drive() { "$run" "$driver" "$@" 2>&1 | tr -d '\r' || true; }
ours_uninstaller="$target_win\Corvalis Bench\Uninst0.exe"

echo "into: $target_win"
echo "load before: $(uptime)"
results="$work/results"
: >"$results"
# One record per round and run: "<round> <run> <name> = <value>" lines.
record() { sed "s/^/$1 $2 /" >>"$results"; }
# What any program costs under this Wine (and emulator, where there is one).
drive run "C:\windows\system32\cmd.exe" /c exit | record 0 floor
for round in $(seq 1 "$rounds"); do
  drive install "$(winpath "$work/BenchSetup.exe")" | record "$round" ours_wizard
  echo "files = $(files "$ours_dir")" | record "$round" ours_wizard
  drive run "$(winpath "$work/NsisSetup.exe")" /S | record "$round" nsis
  echo "files = $(files "$nsis_dir")" | record "$round" nsis
  drive uninstall "$ours_uninstaller" | record "$round" ours_uninstall
  echo "left = $(files "$ours_dir")" | record "$round" ours_uninstall
  drive run "$target_win\NSIS Bench\Uninst.exe" /S | record "$round" nsis_uninstall
  echo "left = $(files "$nsis_dir")" | record "$round" nsis_uninstall
  # NSIS with its two pages, for the memory a window costs it: the robot clicks Install and
  # Close, so its time says nothing.
  drive run "$(winpath "$work/NsisSetup.exe")" | record "$round" nsis_pages &
  "$run" "$robot" click "NSIS Bench Setup: Installation Folder" Install --timeout 60000 >/dev/null
  "$run" "$robot" click "NSIS Bench Setup: Completed" Close --timeout 600000 >/dev/null
  wait
  drive run "$target_win\NSIS Bench\Uninst.exe" /S >/dev/null
  drive run "$(winpath "$work/BenchSetup.exe")" /VERYSILENT | record "$round" ours_silent
  echo "files = $(files "$ours_dir")" | record "$round" ours_silent
  drive run "$ours_uninstaller" /VERYSILENT | record "$round" ours_silent_uninstall
  echo "left = $(files "$ours_dir")" | record "$round" ours_silent_uninstall
done
echo "load after:  $(uptime)"

python3 - "$results" "$rounds" <<'PY'
import statistics, sys
values, errors = {}, []
for line in open(sys.argv[1]):
    parts = line.rstrip("\n").split(" ", 2)
    if len(parts) < 3:
        continue
    round_, run, rest = parts
    if rest.startswith("setup_driver:"):
        errors.append("round %s, %s: %s" % (round_, run, rest))
    elif " = " in rest:
        key, value = rest.split(" = ", 1)
        values.setdefault((run, key), []).append(value)
rounds = int(sys.argv[2])
def numbers(run, key):
    return [float(v) for v in values.get((run, key), [])]
def median(run, key):
    found = numbers(run, key)
    return statistics.median(found) if found else None
def seconds(run, key):
    found = numbers(run, key)
    if not found:
        return "failed"
    return "%.2f s (%s)" % (statistics.median(found), " ".join("%.2f" % v for v in found))
def mib(run, key):
    found = numbers(run, key)
    return "%.1f MiB" % (statistics.median(found) / 1024) if found else "failed"
def listed(run, key):
    return "/".join(values.get((run, key), ["?"]))
def ratio(a, b):
    return "%.2f" % (a / b) if a is not None and b else "?"
wizard = [s + f for s, f in zip(numbers("ours_wizard", "start_to_wizard_s"),
                                 numbers("ours_wizard", "last_next_to_finish_page_s"))]
nsis = median("nsis", "run_s")
rows = [
    ("wizard installation (start to wizard + last Next to finish page)",
     seconds("ours_wizard", "installation_s"), seconds("nsis", "run_s") + " silent /S"),
    ("  of it: start to wizard / last Next to finish page",
     "%.2f s / %.2f s" % (median("ours_wizard", "start_to_wizard_s") or 0,
                          median("ours_wizard", "last_next_to_finish_page_s") or 0), ""),
    ("  Finish to the end (writes uninstall data)", seconds("ours_wizard", "finish_to_end_s"), ""),
    ("silent installation (/VERYSILENT, /S)", seconds("ours_silent", "run_s"), seconds("nsis", "run_s")),
    ("peak working set, wizard installation", mib("ours_wizard", "peak_working_set_kib"),
     mib("nsis", "peak_working_set_kib")),
    ("peak working set, silent installation / NSIS with its pages", mib("ours_silent", "peak_working_set_kib"),
     mib("nsis_pages", "peak_working_set_kib")),
    ("peak private bytes seen, wizard / silent; NSIS silent / with pages",
     mib("ours_wizard", "peak_private_kib") + " / " + mib("ours_silent", "peak_private_kib"),
     mib("nsis", "peak_private_kib") + " / " + mib("nsis_pages", "peak_private_kib")),
    ("  of it reached when the wizard showed (WS / private)",
     mib("ours_wizard", "peak_working_set_at_wizard_kib") + " / " + mib("ours_wizard", "peak_private_at_wizard_kib"), ""),
    ("uninstallation, answered / silent", seconds("ours_uninstall", "uninstallation_s") + " / " +
     seconds("ours_silent_uninstall", "run_s"), seconds("nsis_uninstall", "run_s")),
    ("files installed (wizard, silent) / NSIS", listed("ours_wizard", "files") + ", " + listed("ours_silent", "files"),
     listed("nsis", "files")),
    ("files left after uninstallation (answered, silent) / NSIS",
     listed("ours_uninstall", "left") + ", " + listed("ours_silent_uninstall", "left"), listed("nsis_uninstall", "left")),
]
print("medians of %d rounds (each round's figure in brackets)" % rounds)
print("%-66s %-34s %s" % ("", "ours", "NSIS 3 zlib"))
for name, ours, other in rows:
    print("%-66s %-34s %s" % (name, ours, other))
print("ratios to NSIS's silent installation: wizard %s, silent %s; uninstallation (silent) %s" % (
    ratio(median("ours_wizard", "installation_s"), nsis), ratio(median("ours_silent", "run_s"), nsis),
    ratio(median("ours_silent_uninstall", "run_s"), median("nsis_uninstall", "run_s"))))
print("Wine's floor, cmd.exe /c exit: %s, peak working set %s, private %s" % (
    seconds("floor", "run_s"), mib("floor", "peak_working_set_kib"), mib("floor", "peak_private_kib")))
for error in errors:
    print(error)
PY

# P2, real files for the package sizes: Wine's 32-bit DLLs in "ls -S" order after the 39
# largest, each that keeps the total at or below 70,000,000 bytes, into bin/; g++'s C++
# headers as include/c++. Ours at levels 9 and 12 against NSIS's zlib and lzma /SOLID.
p2="$work/p2"
mkdir -p "$p2/bin" "$p2/include"
dlls=/usr/lib/i386-linux-gnu/wine/i386-windows
total=0
for dll in $(cd "$dlls" && ls -S | tail -n +40); do
  size=$(stat -c %s "$dlls/$dll")
  if [ $((total + size)) -le 70000000 ]; then cp "$dlls/$dll" "$p2/bin/"; total=$((total + size)); fi
done
cp -r "$(find /usr/include/c++ -mindepth 1 -maxdepth 1 -type d | sort | tail -1)" "$p2/include/c++"
sizes="P2 ($(find "$p2" -type f | wc -l) files, $(du -sb "$p2" | cut -f1) bytes):"
for option in "--level 9" "--level 12" --solid; do
  # shellcheck disable=SC2086
  "$build/dist/mkinstaller" --stub "$build/dist/Installer.exe" --app "$p2" --config "$config" \
    --output "$work/p2${option// /}.exe" $option >/dev/null
  sizes="$sizes ours $option $(stat -c %s "$work/p2${option// /}.exe"),"
done
for compressor in zlib "/SOLID lzma"; do
  nsis="$work/p2-nsis-${compressor//[\/ ]/}.exe"
  printf 'Name "P2"\nOutFile "%s"\nSetCompressor %s\nInstallDir "%s\\P2 NSIS"\nSection\n  SetOutPath "$INSTDIR"\n  File /r "%s/*.*"\nSectionEnd\n' \
    "$nsis" "$compressor" "$target_win" "$p2" >"$work/p2.nsi"
  makensis -V1 "$work/p2.nsi" >/dev/null
  sizes="$sizes NSIS $compressor $(stat -c %s "$nsis"),"
done
echo "${sizes%,} bytes"

# P2 installed silently, one run each, into the same place as above: time and peak memory.
p2_time() {
  drive run "$@" | sed -n 's/^run_s = \(.*\)/\1 s/p; s/^peak_working_set_kib = \(.*\)/, peak working set \1 KiB/p' |
    tr -d '\n'
}
p2_wizard() {
  drive install "$@" | sed -n 's/^installation_s = \(.*\)/\1 s/p; s/^peak_working_set_kib = \(.*\)/, peak working set \1 KiB/p' |
    tr -d '\n'
}
for package in p2--level9 p2--solid; do
  echo "P2 ours ${package#p2} /VERYSILENT: $(p2_time "$(winpath "$work/$package.exe")" /VERYSILENT), files $(files "$ours_dir")"
  drive run "$ours_uninstaller" /VERYSILENT >/dev/null
  echo "P2 ours ${package#p2} wizard: $(p2_wizard "$(winpath "$work/$package.exe")"), files $(files "$ours_dir")"
  drive run "$ours_uninstaller" /VERYSILENT >/dev/null
done
for package in p2-nsis-zlib p2-nsis-SOLIDlzma; do
  echo "P2 NSIS ${package#p2-nsis-} /S: $(p2_time "$(winpath "$work/$package.exe")" /S), files $(files "$target/P2 NSIS")"
  rm -rf "$target/P2 NSIS"
done
