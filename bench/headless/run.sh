#!/bin/bash
# Headless scanner benchmark, one command: tools/bench.sh headless [sizes...]   (sizes: 200k 1m 2m; default 1m)
# With KELVARAN_SCAN_BASELINE set to another build's kelvaran-scan, that one is measured in the same run too
# (time, peak memory, and whether its file is ours byte for byte).
# Builds kelvaran-scan and the tree generator optimised (build/bench), generates the tree under
# /tmp/kelvaran-bench once (shared with the walk benchmark, kept for later runs), then with a warm cache,
# best of three each: kelvaran-scan writing its data file, `du -s`, and `ncdu -o` writing its export; one
# line per tree with the times, the ratios, the files written and the peak memory of each.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1m)
trees=/tmp/kelvaran-bench
out=$(mktemp -d /tmp/kelvaran-headless-bench.XXXXXX)
trap 'rm -rf "$out"' EXIT

cmake --preset bench >/dev/null
cmake --build --preset bench --target scan_gen kelvaran-scan -j2 >/dev/null
gen=build/bench/bench/scan/scan_gen
scanner=build/bench/src/kelvaran-scan
command -v ncdu >/dev/null || { echo "ncdu is missing (tools/install-deps.sh installs it)" >&2; exit 1; }

. bench/common/bench-lib.sh
# Best wall time of three runs of a command, in seconds; the peak resident memory (KiB) of the last run
# goes to the file peak.
best_of_3_with_peak() {
  local best="" t kib
  for _ in 1 2 3; do
    /usr/bin/time -f '%e %M' -o "$out/time" "$@" >/dev/null 2>"$out/stderr"
    read -r t kib <"$out/time"
    echo "$kib" >"$out/peak"
    if [ -z "$best" ] || [ "$(echo "$t < $best" | bc -l)" = 1 ]; then best=$t; fi
  done
  printf '%.2f' "$best"
}

mkdir -p "$trees"
for size in "${sizes[@]}"; do
  tree_counts "$size"
  tree=$trees/tree-$size
  ensure_tree "$gen" "$tree"
  expect=$(cat "$tree.totals")

  du -s "$tree" >/dev/null  # warm the caches
  ours=$(best_of_3_with_peak "$scanner" "$tree" "$out/tree.klv"); ours_peak=$(cat "$out/peak")
  summary=$(cat "$out/stderr")
  du=$(best_of_3_with_peak du -s "$tree"); du_peak=$(cat "$out/peak")
  if [ -n "${KELVARAN_SCAN_BASELINE:-}" ]; then
    base=$(best_of_3_with_peak "$KELVARAN_SCAN_BASELINE" "$tree" "$out/base.klv"); base_peak=$(cat "$out/peak")
    cmp -s "$out/tree.klv" "$out/base.klv" && same="the same file" || same="FILES DIFFER"
  fi
  ncdu=$(best_of_3_with_peak ncdu -0 -x -o "$out/tree.ncdu" "$tree"); ncdu_peak=$(cat "$out/peak")

  found_files=$(sed -E 's/.* ([0-9,]+) files.*/\1/' <<<"$summary" | tr -d ,)
  found_folders=$(sed -E 's/.*: ([0-9,]+) folders.*/\1/' <<<"$summary" | tr -d ,)
  check="totals match"
  [ "$found_files" = "$(field files "$expect")" ] && [ "$found_folders" = "$(field folders "$expect")" ] \
    || check="MISMATCH: found $found_files files, $found_folders folders; generated $(field files "$expect"), $(field folders "$expect")"
  echo "headless $size: kelvaran-scan ${ours} s vs du -s ${du} s (ratio $(ratio "$ours" "$du")) vs ncdu -o ${ncdu} s (ratio $(ratio "$ours" "$ncdu"));" \
       "files written $(( $(stat -c %s "$out/tree.klv") >> 20 )) MiB .klv vs $(( $(stat -c %s "$out/tree.ncdu") >> 20 )) MiB ncdu export;" \
       "peak memory $(( ours_peak >> 10 )) / $(( du_peak >> 10 )) / $(( ncdu_peak >> 10 )) MiB; $(field files "$expect") files, $check"
  [ -z "${KELVARAN_SCAN_BASELINE:-}" ] ||
    echo "headless $size: baseline kelvaran-scan ${base} s (ours/baseline $(ratio "$ours" "$base")), peak memory $(( base_peak >> 10 )) MiB (ours $(( ours_peak >> 10 )) MiB); $same"
done
