#!/bin/bash
# The file-table reader of another revision beside this tree's, measured in one run:
#   bench/ntfs/compare.sh REV [size] [runs]        (size 200k, 1m or 2m, default 1m; runs default 5)
# Builds REV's reader with this tree's benchmark program (so only the reader differs) under
# /tmp/kelvaran-bench, then runs the two natively on the same image, interleaved, `runs` times each: each
# run is one process that reads the image twice and times the second read. Prints best and median read
# time, instructions of one read (perf, else cachegrind; "-" when neither can count), peak resident memory
# (/usr/bin/time) and per entry beside the finished tree's bytes per entry, and the load before and after.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
[ $# -ge 1 ] || { echo "usage: $0 REV [size] [runs]" >&2; exit 2; }
rev=$(git rev-parse --short "$1")
size=${2:-1m}
runs=${3:-5}
images=/tmp/kelvaran-bench
. bench/common/bench-lib.sh
tree_counts "$size"
image=$images/bench-$files.img
mkdir -p "$images"
if [ ! -f "$image" ]; then
  echo "making $image ($files files in $folders folders; minutes)..." >&2
  python3 tools/make-ntfs-images.py "$images" --bench "$files" "$folders"
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake --preset bench -B build/scan-bench "${launcher[@]}" >/dev/null
cmake --build build/scan-bench --target ntfs_bench -j2 >/dev/null
other=$images/reader-$rev
if [ ! -x "$other/build/bench/ntfs/ntfs_bench" ]; then
  rm -rf "$other"
  mkdir -p "$other"
  git archive "$rev" | tar -x -C "$other"
  cp bench/ntfs/ntfs_bench.cpp bench/ntfs/TreeCheck.h "$other/bench/ntfs/"
  cp bench/common/* "$other/bench/common/"
  (cd "$other" && cmake --preset bench -B build "${launcher[@]}" >/dev/null && cmake --build build --target ntfs_bench -j2 >/dev/null)
fi
readers=("$other/build/bench/ntfs/ntfs_bench" build/scan-bench/bench/ntfs/ntfs_bench)
names=("$rev" "this tree")

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
instructions() {
  local out
  if out=$(perf stat -x, -e instructions:u "$@" 2>&1 >/dev/null) && [[ $(tail -1 <<<"$out") =~ ^[0-9]+, ]]; then
    tail -1 <<<"$out" | cut -d, -f1
  elif command -v valgrind >/dev/null; then
    valgrind --tool=cachegrind --cache-sim=no --cachegrind-out-file=/dev/null "$@" 2>&1 >/dev/null |
      awk '/I *refs:/ { gsub(",", "", $NF); print $NF }'
  else
    echo -
  fi
}

cat "$image" >/dev/null  # warm the caches
load_before=$(uptime)
declare -a times0 times1 rss0 rss1
result=()
for ((i = 0; i < runs; i++)); do
  for k in 0 1; do
    r=$(( (i + k) % 2 ))  # who goes first alternates
    line=$(/usr/bin/time -f "rss_kb %M" -o /tmp/kelvaran-bench/compare-time.txt "${readers[$r]}" "$image" 1)
    result[$r]=$line
    eval "times$r+=($(field seconds "$line"))"
    eval "rss$r+=($(field rss_kb "$(cat /tmp/kelvaran-bench/compare-time.txt)"))"
  done
done
load_after=$(uptime)

echo "ntfs $size ($files files): $runs runs of each reader, interleaved; load before:${load_before#*load average:}, after:${load_after#*load average:}"
printf '%-10s %7s %8s %14s %9s %7s %7s %9s %14s\n' reader "best s" "median s" instructions "peak MiB" "peak B" "tree B" peak/tree "at 10M files"
for r in 0 1; do
  eval 'ts=("${times'$r'[@]}"); rs=("${rss'$r'[@]}")'
  best=$(printf '%s\n' "${ts[@]}" | sort -g | head -1)
  med=$(printf '%s\n' "${ts[@]}" | median)
  peak=$(( $(printf '%s\n' "${rs[@]}" | sort -g | tail -1) * 1024 ))
  entries=$(field entries "${result[$r]}")
  tree=$(field tree_bytes "${result[$r]}")
  count=$(instructions "${readers[$r]}" "$image" 0)
  printf '%-10s %7s %8s %14s %9.1f %7d %7d %9s %11.2f GB\n' "${names[$r]}" "$best" "$med" "$count" \
    "$(echo "$peak / 1048576" | bc -l)" $((peak / entries)) $((tree / entries)) "$(ratio "$peak" "$tree")" \
    "$(echo "$peak / $entries * 10000000 / 1000000000" | bc -l)"
done
echo "(peak: the largest resident set of the runs; tree: heap the finished tree holds; at 10M files: peak bytes per entry x 10,000,000)"
[ "$(field files "${result[0]}") $(field folders "${result[0]}") $(field bytes "${result[0]}")" = \
  "$(field files "${result[1]}") $(field folders "${result[1]}") $(field bytes "${result[1]}")" ] ||
  { echo "the two readers found different totals" >&2; exit 1; }
