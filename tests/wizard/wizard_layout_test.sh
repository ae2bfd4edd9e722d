#!/bin/sh
# Runs the wizard layout test at 96, 120, 144 and 192 DPI, each in English and German, in a
# Wine prefix of its own: the DPI is the prefix's (HKCU\Control Panel\Desktop\LogPixels) and
# takes effect with a new wineserver, which the other tests' prefix must not see.
# Usage: wizard_layout_test.sh <wine-run> <wizard_layout_test.exe> <prefix folder>
set -u
run=$1
test=$2
export CORVALIS_WINEPREFIX="$3"
"$run" --setup || exit 1
status=0
for dpi in 96 120 144 192; do
  "$run" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 || status=1
  WINEPREFIX="$CORVALIS_WINEPREFIX" wineserver -k 2>/dev/null
  WINEPREFIX="$CORVALIS_WINEPREFIX" wineserver -w 2>/dev/null
  for language in English German; do
    CORVALIS_EXPECT_DPI=$dpi "$run" "$test" --gtest_filter="WizardLayout.${language}*" || status=1
  done
done
"$run" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
"$run" --cleanup
exit $status
