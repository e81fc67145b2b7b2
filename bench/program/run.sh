#!/bin/bash
# Start-to-pie benchmark under Wine, one command: tools/bench.sh program
# The 200,000-file tree of the walk benchmark (generated once under /tmp/kelvaran-bench) is given to
# Kelvaran.exe on the command line: milliseconds from process start until the pie of the finished scan is
# up (its status row counts every file). Then the same tree exported to a data file and given on the
# command line: start to the imported pie. Beside both, in the same run, the walk alone: a fresh
# scan_bench.exe process making one walk, less the start of an idle one (the program's scan is also the
# first walk of its process, which under Wine is several times slower than a repeated one). Best of
# three for each. The program's output goes to a file: it inherits the driver's, and a pipe would stay open.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
trees=/tmp/kelvaran-bench
tree=$trees/tree-200k

cmake --preset bench -B build/scan-bench >/dev/null
cmake --build build/scan-bench --target scan_gen -j2 >/dev/null
cmake --preset win -B build/scan-win >/dev/null
cmake --build build/scan-win --target scan_bench_win -j2 >/dev/null
cmake --preset win >/dev/null
cmake --build --preset win --target Kelvaran gui_driver -j2 >/dev/null
. tools/xvfb.sh
. tools/wine-env.sh
trap wine_stop EXIT
program=build/win/src/Kelvaran.exe
driver=build/win/tests/gui/gui_driver.exe

mkdir -p "$trees"
if [ ! -f "$tree.totals" ]; then
  rm -rf "$tree"
  echo "generating $tree (200000 files in 20000 folders)..." >&2
  build/scan-bench/bench/scan/scan_gen "$tree" 200000 20000 > "$tree.totals.tmp"
  mv "$tree.totals.tmp" "$tree.totals"
fi
files=$(awk '{ for (i = 1; i < NF; i++) if ($i == "files") print $(i + 1) }' "$tree.totals")
wintree="Z:${tree//\//\\}"
klv=/tmp/kelvaran-bench/tree-200k.klv
winklv="Z:${klv//\//\\}"
du -s "$tree" >/dev/null
xdotool mousemove 0 1000  # the pie shows the item under the pointer; keep it on the root

best() { sort -n | head -1; }
out=$(mktemp)
timed() {
  wine "$driver" timed "$files" "$program" "$1" >"$out" 2>/dev/null
  grep -E '^[0-9]+' "$out" | tr -d '\r'
}
close() { wine "$driver" close >/dev/null 2>&1 || true; }
ms_of() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1 || true
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}

idle=$(for _ in 1 2 3; do ms_of wine build/scan-win/bench/scan/scan_bench.exe; done | best)
walk=$(for _ in 1 2 3; do ms_of wine build/scan-win/bench/scan/scan_bench.exe "$wintree" 0; done | best)
walk=$((walk - idle))

scan=$(for _ in 1 2 3; do timed "$wintree"; close; done | best)

# Export the scanned tree through the program's own Save dialog.
rm -f "$klv"
timed "$wintree" >/dev/null
xdotool key ctrl+s
wine "$driver" window "Save As" 10000 >/dev/null 2>&1
xdotool type --delay 10 "$winklv"
xdotool key Return
for _ in $(seq 300); do [ -s "$klv" ] && break; sleep 0.1; done
close
[ -s "$klv" ] || { echo "program: the export did not happen" >&2; exit 1; }

import=$(for _ in 1 2 3; do timed "$winklv"; close; done | best)

echo "program 200k: start to pie after a scan ${scan} ms, the first walk of a process alone ${walk} ms (window, dialog, layout and pie $((scan - walk)) ms)"
echo "program 200k: start to pie after importing its data file ($(($(stat -c %s "$klv") / 1024)) KB) ${import} ms"
