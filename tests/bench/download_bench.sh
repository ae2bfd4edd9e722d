#!/usr/bin/env bash
# DownloadFile (under Wine) against curl (native) fetching the same 100 MB file from the
# local test server on 127.0.0.1:80, in the same run.
#   tests/bench/download_bench.sh [build folder]      (default: build)
# Needs port 80 free and the rights to listen on it.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
cmake --build "$build/win" --target download_bench >/dev/null
work=$(mktemp -d /tmp/download_bench.XXXXXX)
server=""
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; wait; rm -rf "$work"' EXIT

mkdir "$work/served"
head -c $((100 * 1024 * 1024)) /dev/urandom > "$work/served/big.bin"
head -c $((1024 * 1024)) /dev/urandom > "$work/served/warm.bin"
/usr/bin/python3 "$root/tests/download/http_test_server.py" --port 80 --root "$work/served" >/dev/null &
server=$!
for _ in $(seq 50); do
  curl -s -o /dev/null -I http://127.0.0.1/warm.bin && break
  sleep 0.1
done

now() { date +%s.%N; }
t0=$(now)
curl -s -o "$work/curl.bin" http://127.0.0.1/big.bin
t1=$(now)
windest="Z:${work//\//\\}\\wine.bin"
t2=$(now)
inner=$("$build/win/wine-run" "$build/win/tests/bench/download_bench.exe" \
  http://127.0.0.1/warm.bin http://127.0.0.1/big.bin "$windest" 2>/dev/null | tr -d '\r')
t3=$(now)
cmp -s "$work/served/big.bin" "$work/wine.bin" && same=yes || same=NO
cmp -s "$work/served/big.bin" "$work/curl.bin" && same_curl=yes || same_curl=NO

python3 - "$t0" "$t1" "$t2" "$t3" "$inner" "$same" "$same_curl" <<'PY'
import re, sys
t0, t1, t2, t3 = map(float, sys.argv[1:5])
inner = sys.argv[5]
secs = float(re.search(r"download 1: .* ([0-9.]+) s", inner).group(1))
curl = t1 - t0
print("curl (native):                %7.2f s" % curl)
print("DownloadFile (Wine, inner):   %7.2f s   ratio %.1fx  (download 1)" % (secs, secs / curl))
print("download_bench.exe wall time: %7.2f s  (warm-up and two downloads)" % (t3 - t2))
print(inner.strip())
print("same bytes: DownloadFile %s, curl %s" % (sys.argv[6], sys.argv[7]))
PY
