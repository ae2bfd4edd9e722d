#!/usr/bin/env bash
# ExtractArchive (under Wine) against Info-ZIP unzip (native) on the same archive.
#   tests/bench/extract_bench.sh [build folder]      (default: build)
# Generates about 200 MB in 2,000 files under /tmp, packs them with mkinstaller, cuts the
# application archive out of the package and unpacks it both ways.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
cmake --build "$build/ship" --target deliverables >/dev/null
cmake --build "$build/win" --target extract_bench >/dev/null
work=$(mktemp -d /tmp/extract_bench.XXXXXX)
trap 'rm -rf "$work"' EXIT

python3 "$root/tests/bench/make_payload.py" "$work/data/app"
mkdir -p "$work/data/config/Config" "$work/data/config/Languages"
printf '[GeneralInformation]\r\nAppName = Bench\r\n' > "$work/data/config/Config/Script.ini"
printf '[VLX Localization File] = \r\nLanguage = English\r\n' > "$work/data/config/Languages/English@ascii.ini"
"$build/dist/mkinstaller" --stub "$build/dist/Installer.exe" --app "$work/data/app" \
  --config "$work/data/config" --output "$work/Setup.exe" --level 6 --lenient
python3 - "$work/Setup.exe" "$work/app.zip" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
info, program = struct.unpack("<II", data[-11:-3])
end = len(data) - 11 - info
open(sys.argv[2], "wb").write(data[end - program:end])
PY
echo "archive: $(du -m "$work/app.zip" | cut -f1) MB, $(du -sm "$work/data/app" | cut -f1) MB in $(find "$work/data/app" -type f | wc -l) files"

now() { date +%s.%N; }
t0=$(now)
unzip -q -o "$work/app.zip" -d "$work/out_unzip"
t1=$(now)
winarchive="Z:${work//\//\\}\\app.zip"
windest="Z:${work//\//\\}\\out_wine\\"
t2=$(now)
inner=$("$build/win/wine-run" "$build/win/tests/bench/extract_bench.exe" "$winarchive" "$windest" 2>/dev/null | tr -d '\r')
t3=$(now)
diff -r "$work/out_unzip" "$work/out_wine" >/dev/null && same=yes || same=NO

python3 - "$t0" "$t1" "$t2" "$t3" "$inner" "$same" <<'PY'
import re, sys
t0, t1, t2, t3 = map(float, sys.argv[1:5])
inner = float(re.search(r"([0-9.]+) s", sys.argv[5]).group(1))
unzip = t1 - t0
print("unzip -q (native):           %7.2f s" % unzip)
print("ExtractArchive (Wine, inner): %7.2f s   ratio %.1fx" % (inner, inner / unzip))
print("extract_bench.exe wall time:  %7.2f s   ratio %.1fx" % (t3 - t2, (t3 - t2) / unzip))
print("same files both ways:         %s" % sys.argv[6])
PY
