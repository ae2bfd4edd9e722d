#!/bin/sh
# The package builder refuses a script that can't work, saying what to mend, and writes
# nothing; with --lenient it warns and still builds the package.
# usage: mkinstaller_warnings_test.sh <mkinstaller> <sample folder>
set -eu
mk=$1
sample=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config/Config" "$work/config/Languages" "$work/app"
cp "$sample/config/Languages/English@ascii.ini" "$work/config/Languages/"
printf '[GeneralInformation]\r\nAppName = A\r\n[InstTasks]\r\nT = COPYFILES\266a\266b\r\n[Extras]\r\n' \
  > "$work/config/Config/Script.ini"
echo stub > "$work/stub.exe"
echo text > "$work/app/a.txt"
status=0
"$mk" --stub "$work/stub.exe" --app "$work/app" --config "$work/config" \
  --output "$work/out.exe" 2> "$work/err" || status=$?
cat "$work/err"
test "$status" = 1
grep -qF 'mkinstaller: Config/Script.ini line 4: task "T" in [InstTasks]: unknown task type "COPYFILES"' "$work/err"
grep -qF 'mkinstaller: nothing written' "$work/err"
test ! -e "$work/out.exe"
"$mk" --stub "$work/stub.exe" --app "$work/app" --config "$work/config" \
  --output "$work/out.exe" --lenient 2> "$work/err"
grep -qF 'mkinstaller: warning: Config/Script.ini line 4: task "T" in [InstTasks]: unknown task type "COPYFILES"' "$work/err"
grep -qF 'mkinstaller: warning: Config/Script.ini line 5: unknown group [Extras]' "$work/err"
test -s "$work/out.exe"
