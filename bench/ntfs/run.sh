#!/bin/bash
# File-table reader benchmark, one command: tools/bench.sh ntfs [sizes...]   (sizes: 200k 1m; default 200k)
# Makes an NTFS image of the tree once under /tmp/kelvaran-bench (mkntfs + ntfs-3g, needs root and FUSE;
# kept for later runs), then with a warm cache:
#   the reader natively and under Wine (both from the image file) vs our folder walk of the mounted image
#   (natively and under Wine) and du -s of it; memory per entry of the reader, of the finished tree and of
#   the walk; and whether the reader's tree equals the walk's entry by entry (the bench fails if not).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(200k)
images=/tmp/kelvaran-bench

cmake --preset bench -B build/scan-bench >/dev/null
cmake --build build/scan-bench --target scan_bench ntfs_bench -j2 >/dev/null
cmake --preset win -B build/scan-win >/dev/null
cmake --build build/scan-win --target scan_bench_win ntfs_bench_win -j2 >/dev/null
walk=build/scan-bench/bench/scan/scan_bench
reader=build/scan-bench/bench/ntfs/ntfs_bench
walk_win=build/scan-win/bench/scan/scan_bench.exe
reader_win=build/scan-win/bench/ntfs/ntfs_bench.exe
. tools/wine-env.sh

. bench/common/bench-lib.sh

mkdir -p "$images"
for size in "${sizes[@]}"; do
  tree_counts "$size"
  image=$images/bench-$files.img
  if [ ! -f "$image" ]; then
    echo "making $image ($files files in $folders folders; minutes)..." >&2
    python3 tools/make-ntfs-images.py "$images" --bench "$files" "$folders"
  fi
  mnt=$images/mnt-$files
  mkdir -p "$mnt"
  ntfs-3g -o ro "$image" "$mnt"
  trap 'umount "$mnt" 2>/dev/null || true' EXIT

  cat "$image" >/dev/null  # warm the caches
  du -s "$mnt" >/dev/null
  du_s=$(best_of_3 du -s "$mnt")
  ours=$("$reader" "$image" 3 "$mnt")
  ours_win=$(wine "$reader_win" "Z:${image//\//\\}" 2 | tr -d '\r')
  walked=$("$walk" "$mnt" 2)
  walked_win=$(wine "$walk_win" "Z:${mnt//\//\\}" 1 | tr -d '\r')
  umount "$mnt"
  trap - EXIT

  r=$(field seconds "$ours"); rw=$(field seconds "$ours_win"); w=$(field seconds "$walked"); ww=$(field seconds "$walked_win")
  entries=$(field entries "$ours")
  same=$( [ "$(field files "$ours")" = "$(field files "$walked")" ] && [ "$(field folders "$ours")" = "$(field folders "$walked")" ] && [ "$(field bytes "$ours")" = "$(field bytes "$walked")" ] && echo match || echo DIFFER)
  tree=$(field same_tree "$ours")
  [ "$tree" = yes ] && tree="trees equal entry by entry" || tree="TREES DIFFER"
  echo "ntfs $size: reader native ${r} s, under Wine ${rw} s; folder walk of the mounted image native ${w} s, under Wine ${ww} s; du -s ${du_s} s"
  echo "ntfs $size: reader vs walk under Wine: $(ratio "$ww" "$rw" 1)x faster; natively $(ratio "$w" "$r" 1)x (totals $same: $(field files "$ours") files, $(field folders "$ours") folders; $tree)"
  peak=$(field peak_bytes "$ours"); tree_bytes=$(field tree_bytes "$ours")
  echo "ntfs $size: memory per entry: reader peak $(( peak / entries )) B native, $(( $(field peak_bytes "$ours_win") / entries )) B under Wine; finished tree $(( tree_bytes / entries )) B (peak $(ratio "$peak" "$tree_bytes") x the tree); walk peak $(( $(field peak_bytes "$walked") / entries )) B native"
done
