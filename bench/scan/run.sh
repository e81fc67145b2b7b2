#!/bin/bash
# Walk benchmark, one command: tools/bench.sh scan [sizes...]   (sizes: 200k 1m; default both)
# Builds scan_gen/scan_bench natively (build/scan-bench) and scan_bench.exe with mingw-w64 (build/scan-win),
# generates the trees under /tmp/kelvaran-bench once (kept for later runs), then per tree, with a warm cache:
#   our parallel and single walks natively vs du -s, the same two under Wine, memory per entry of each.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(200k 1m)
trees=/tmp/kelvaran-bench

cmake --preset bench -B build/scan-bench >/dev/null
cmake --build build/scan-bench --target scan_gen scan_bench -j2 >/dev/null
cmake --preset win -B build/scan-win >/dev/null
cmake --build build/scan-win --target scan_bench_win -j2 >/dev/null
gen=build/scan-bench/bench/scan/scan_gen
native=build/scan-bench/bench/scan/scan_bench
win=build/scan-win/bench/scan/scan_bench.exe
. tools/xvfb.sh
. tools/wine-env.sh
trap wine_stop EXIT

. bench/common/bench-lib.sh

mkdir -p "$trees"
for size in "${sizes[@]}"; do
  tree_counts "$size"
  wine_runs=3; [ "$size" = 1m ] && wine_runs=1
  tree=$trees/tree-$size
  ensure_tree "$gen" "$tree"
  expect=$(cat "$tree.totals")

  du -s "$tree" >/dev/null  # warm the caches
  du_s=$(best_of_3 du -s "$tree")
  native_par=$("$native" "$tree" 3 0)
  native_one=$("$native" "$tree" 3 1)
  winpath="Z:${tree//\//\\}"
  wine_par=$(wine "$win" "$winpath" "$wine_runs" 0 | tr -d '\r')
  wine_one=$(wine "$win" "$winpath" "$wine_runs" 1 | tr -d '\r')

  verdict=match
  for got in "$native_par" "$native_one" "$wine_par" "$wine_one"; do
    for k in files folders bytes; do
      if [ "$(field $k "$got")" != "$(field $k "$expect")" ]; then
        echo "MISMATCH $size $k: generated $(field $k "$expect"), walk found $(field $k "$got")" >&2
        verdict=DIFFER
      fi
    done
  done
  np=$(field seconds "$native_par"); n1=$(field seconds "$native_one")
  wp=$(field seconds "$wine_par"); w1=$(field seconds "$wine_one")
  entries=$(field entries "$native_one")
  per_entry() { echo $(( $(field peak_bytes "$1") / entries )); }
  echo "scan $size: native walk, parallel ($(field workers "$native_par") workers) ${np} s, single ${n1} s, du -s ${du_s} s: du -s / parallel $(ratio "$du_s" "$np") (goal >= 1.7), single / parallel $(ratio "$n1" "$np") ($(field files "$native_one") files, $(field folders "$native_one") folders; longest path $(field longest "$expect") chars, $(field over300 "$expect") folders past 300)"
  echo "scan $size: Win32 walk under Wine, parallel ($(field workers "$wine_par") workers) ${wp} s, single ${w1} s: parallel / single $(ratio "$wp" "$w1") (goal <= 0.5), single Wine / single native $(ratio "$w1" "$n1"); totals $verdict; every run: parallel $(field runs "$wine_par"), single $(field runs "$wine_one")"
  echo "scan $size: bytes per entry, native parallel $(per_entry "$native_par") / single $(per_entry "$native_one"), under Wine parallel $(per_entry "$wine_par") / single $(per_entry "$wine_one") (peaks $(( $(field peak_bytes "$native_par") >> 20 )) / $(( $(field peak_bytes "$native_one") >> 20 )) / $(( $(field peak_bytes "$wine_par") >> 20 )) / $(( $(field peak_bytes "$wine_one") >> 20 )) MiB over $entries entries)"
done
