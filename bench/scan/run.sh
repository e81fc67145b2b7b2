#!/bin/bash
# Walk benchmark, one command: tools/bench.sh scan [sizes...]   (sizes: 200k 1m; default both)
# Builds scan_gen/scan_bench natively (build/scan-bench) and scan_bench.exe with mingw-w64 (build/scan-win),
# generates the trees under /tmp/kelvaran-bench once (kept for later runs), then per tree, with a warm cache:
#   our native walk vs du -s, our Win32 walk under Wine vs our native walk, memory per entry.
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

# Best wall time of three runs of a command, in seconds.
best_of_3() {
  local best=""
  for _ in 1 2 3; do
    local start end t
    start=$(date +%s.%N); "$@" >/dev/null; end=$(date +%s.%N)
    t=$(echo "$end - $start" | bc -l)
    if [ -z "$best" ] || [ "$(echo "$t < $best" | bc -l)" = 1 ]; then best=$t; fi
  done
  printf '%.3f' "$best"
}
field() { awk -v k="$1" '{ for (i = 1; i < NF; i++) if ($i == k) print $(i + 1) }' <<<"$2"; }

mkdir -p "$trees"
for size in "${sizes[@]}"; do
  case $size in
    200k) files=200000; folders=20000; wine_runs=2 ;;
    1m) files=1000000; folders=60000; wine_runs=1 ;;
    *) echo "unknown size $size (200k or 1m)" >&2; exit 2 ;;
  esac
  tree=$trees/tree-$size
  if [ ! -f "$tree.totals" ]; then
    rm -rf "$tree"
    echo "generating $tree ($files files in $folders folders)..." >&2
    "$gen" "$tree" "$files" "$folders" > "$tree.totals.tmp"
    mv "$tree.totals.tmp" "$tree.totals"
  fi
  expect=$(cat "$tree.totals")

  du -s "$tree" >/dev/null  # warm the caches
  du_s=$(best_of_3 du -s "$tree")
  ours=$("$native" "$tree" 3)
  ours_s=$(field seconds "$ours")
  theirs=$(wine "$win" "Z:${tree//\//\\}" "$wine_runs" | tr -d '\r')
  wine_s=$(field seconds "$theirs")

  for k in files folders bytes; do
    for got in "$ours" "$theirs"; do
      if [ "$(field $k "$got")" != "$(field $k "$expect")" ]; then
        echo "MISMATCH $size $k: generated $(field $k "$expect"), walk found $(field $k "$got")" >&2
      fi
    done
  done
  entries=$(field entries "$ours")
  echo "scan $size: native walk ${ours_s} s vs du -s ${du_s} s, ratio $(printf '%.2f' "$(echo "$ours_s / $du_s" | bc -l)") ($(field files "$ours") files, $(field folders "$ours") folders; longest path $(field longest "$expect") chars, $(field over300 "$expect") folders past 300)"
  echo "scan $size: Win32 walk under Wine ${wine_s} s vs native walk ${ours_s} s, ratio $(printf '%.2f' "$(echo "$wine_s / $ours_s" | bc -l)") (totals $( [ "$(field files "$theirs")" = "$(field files "$expect")" ] && [ "$(field bytes "$theirs")" = "$(field bytes "$expect")" ] && echo match || echo DIFFER))"
  echo "scan $size: memory per entry $(( $(field peak_bytes "$ours") / entries )) B native, $(( $(field peak_bytes "$theirs") / entries )) B under Wine (peak $(( $(field peak_bytes "$ours") >> 20 )) / $(( $(field peak_bytes "$theirs") >> 20 )) MiB over $entries entries)"
done
