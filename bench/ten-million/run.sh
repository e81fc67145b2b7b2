#!/bin/bash
# The whole program and its windows on ten million files, under Wine on a virtual display:
#   tools/bench.sh ten-million [--base DIR] [--skip-parts]
# The tree is the benchmarks' synthetic one (bench/common/SyntheticTree.h) of 10,000,000 files in 600,000
# folders, written once by klv_gen to /tmp/kelvaran-bench/tree-10m.klv (about 300 MB). Measured:
#   - start to pie: Kelvaran.exe started with the data file until its status row counts every file (best of
#     three), and the program's peak memory then (VmHWM of its process), less that of an idle program
#     started without a file, per entry (files and folders); beside it the machine's floor: fault_bench
#     taking and touching that much memory from the heap in a fresh process (page faults are costly on
#     a loaded virtual machine);
#   - statistics, histogram and cluster table (info_bench), SelectCurrent 12 levels deep in the folder
#     tree (tree_bench file), Exit to process end (wide_folder_bench, whose 1,000-folder file is the
#     baseline of what Wine alone takes);
#   - the same questions with their CPU time and checks, the "Largest file types" ranking and the file
#     types table (questions_bench), removing one file's record with the pie's refresh (item_delete_bench),
#     all on the same synthetic tree built in memory; and, natively, comparing it with a second such tree
#     differing in 5% of the files (compare_bench, bench preset).
# --base DIR: a second source tree whose build/win holds the same programs (e.g. the code before a change,
# with this bench folder copied in); each figure is then measured for both, interleaved, in one run.
# --skip-parts: only start to pie and memory.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
base=""
parts=1
while [ $# -gt 0 ]; do
  case $1 in
    --base) base=$(cd "$2" && pwd); shift 2 ;;
    --skip-parts) parts=0; shift ;;
    *) echo "usage: tools/bench.sh ten-million [--base DIR] [--skip-parts]" >&2; exit 2 ;;
  esac
done
files=10000000
folders=600000
work=/tmp/kelvaran-bench
klv=$work/tree-10m.klv
winklv="Z:${klv//\//\\}"

targets="Kelvaran gui_driver info_bench tree_bench wide_folder_bench fault_bench questions_bench item_delete_bench"
cmake --preset bench >/dev/null
cmake --build --preset bench --target klv_gen compare_bench -j2 >/dev/null
cmake --preset win >/dev/null
cmake --build --preset win --target $targets -j2 >/dev/null
builds=("$root/build/win")
names=("this")
if [ -n "$base" ]; then
  (cd "$base" && cmake --preset win >/dev/null && cmake --build --preset win --target $targets -j2 >/dev/null &&
    cmake --preset bench >/dev/null && cmake --build --preset bench --target compare_bench -j2 >/dev/null)
  builds+=("$base/build/win")
  names+=("base")
fi
mkdir -p "$work"
if [ ! -s "$klv" ]; then
  echo "generating $klv ($files files in $folders folders)..." >&2
  build/bench/bench/ten-million/klv_gen "$klv" "$files" "$folders"
fi

. tools/xvfb.sh
. tools/wine-env.sh
trap wine_stop EXIT
driver=build/win/tests/gui/gui_driver.exe
xdotool mousemove 0 1000  # the pie shows the item under the pointer; keep it off the pie

echo "ten million: $(uptime)"
# The pid of this prefix's Kelvaran.exe process (other prefixes may run one too).
program_pid() {
  local p
  for p in /proc/[0-9]*; do {
    tr '\0' ' ' <"$p/cmdline" 2>/dev/null | grep -q 'Kelvaran\.exe' || continue
    tr '\0' '\n' <"$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" || continue
    echo "${p#/proc/}"
    return
  } 2>/dev/null; done
}
hwm_kb() { awk '/^VmHWM/ { print $2 }' "/proc/$(program_pid)/status"; }
close() {
  wine "$driver" close >/dev/null 2>&1 || true
  for _ in $(seq 300); do [ -z "$(program_pid)" ] && return; sleep 0.1; done
}
out=$(mktemp)
winpath() { local p=$1; echo "Z:${p//\//\\}"; }
# Start to pie in ms and the peak memory in kB, as "ms kB"; the program's output goes to a file, since it
# inherits the driver's and would hold a pipe open.
pie_once() {
  # Every time: a Wine program may have put the pointer back in the middle of the screen, over the pie,
  # whose status row then shows the piece under it and never the count waited for.
  xdotool mousemove 0 1000
  wine "$driver" timed "$files" "$(winpath "$1/src/Kelvaran.exe")" "$winklv" >"$out" 2>/dev/null || true
  local ms
  ms=$(grep -E '^[0-9]+' "$out" | tr -d '\r' || true)
  echo "${ms:-FAILED} $(hwm_kb)"
  close
}
idle_kb() {
  wine "$driver" start "$(winpath "$1/src/Kelvaran.exe")" >"$out" 2>/dev/null || true
  wine "$driver" wait 60000 >/dev/null 2>&1 || true
  sleep 2
  hwm_kb
  close
}

declare -A best peak idle floor
for k in "${!builds[@]}"; do idle[$k]=$(idle_kb "${builds[$k]}"); done
for i in 1 2 3; do
  for k in "${!builds[@]}"; do
    read -r ms kb < <(pie_once "${builds[$k]}")
    mb=$(((kb - idle[$k]) / 1024))
    read -r fault user kernel < <(wine build/win/bench/ten-million/fault_bench.exe "$mb" | tr -d '\r')
    echo "  run $i ${names[$k]}: start to pie $ms ms, peak $((kb / 1024)) MB; touching $mb MB $fault ms (CPU user $user, kernel $kernel)" >&2
    if [[ $ms =~ ^[0-9]+$ ]] && { [ -z "${best[$k]:-}" ] || [ "$ms" -lt "${best[$k]}" ]; }; then best[$k]=$ms; fi
    if [ -z "${peak[$k]:-}" ] || [ "$kb" -gt "${peak[$k]}" ]; then peak[$k]=$kb; fi
    if [ -z "${floor[$k]:-}" ] || [ "$fault" -lt "${floor[$k]}" ]; then floor[$k]=$fault; fi
  done
done
entries=$((files + folders))
for k in "${!builds[@]}"; do
  per=$(echo "scale=1; (${peak[$k]} - ${idle[$k]}) * 1024 / $entries" | bc)
  echo "ten million ${names[$k]}: start to pie ${best[$k]:-FAILED} ms (best of 3; touching the tree's memory alone ${floor[$k]} ms); peak $((peak[$k] / 1024)) MB, idle program $((idle[$k] / 1024)) MB, $per bytes per entry"
done
[ "$parts" = 1 ] || exit 0

for k in "${!builds[@]}"; do
  echo "--- info_bench ${names[$k]} ($(uptime | sed 's/.*load/load/'))"
  wine "${builds[$k]}/bench/info/info_bench.exe" "$files" "$folders" goals 2>&1 | tr -d '\r'
done
for k in "${!builds[@]}"; do
  echo "--- tree_bench ${names[$k]} ($(uptime | sed 's/.*load/load/'))"
  wine "${builds[$k]}/bench/frame/tree_bench.exe" file "$winklv" 2>&1 | tr -d '\r'
done
for k in "${!builds[@]}"; do
  echo "--- Exit ${names[$k]} ($(uptime | sed 's/.*load/load/'))"
  wine "${builds[$k]}/bench/frame/wide_folder_bench.exe" "Z:${builds[$k]//\//\\}\\src\\Kelvaran.exe" "Z:${work//\//\\}" 3 \
    "$winklv" 2>&1 | tr -d '\r'
done
for k in "${!builds[@]}"; do
  echo "--- questions_bench ${names[$k]} ($(uptime | sed 's/.*load/load/'))"
  wine "${builds[$k]}/bench/ten-million/questions_bench.exe" "$files" "$folders" 2>&1 | tr -d '\r'
done
for k in "${!builds[@]}"; do
  echo "--- item_delete_bench ${names[$k]} ($(uptime | sed 's/.*load/load/'))"
  wine "${builds[$k]}/bench/frame/item_delete_bench.exe" "$files" "$folders" 2>&1 | tr -d '\r'
done
for k in "${!builds[@]}"; do
  echo "--- compare_bench, natively, ${names[$k]} ($(uptime | sed 's/.*load/load/'))"
  "${builds[$k]%/win}/bench/bench/compare/compare_bench" "$files" "$folders" 2>&1
done
