#!/usr/bin/env bash
# Builds the fuzzers (clang, libFuzzer, ASan/UBSan) into build/model-fuzz, replays their committed seeds,
# then fuzzes each: the data file reader for the given number of seconds (default 60), the NTFS file-table
# parsing for the second number (default 30). New inputs go to build/model-fuzz/corpus-<fuzzer>; a crashing
# input is written to build/model-fuzz/ and the script fails.
# Usage: tools/run-fuzz.sh [data-file-seconds] [ntfs-seconds]
set -euo pipefail

seconds="${1:-60}"
ntfs_seconds="${2:-30}"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${KELVARAN_FUZZ_BUILD:-$root/build/model-fuzz}"
compiler="$(command -v clang++-14 || command -v clang++)"

cmake -S "$root/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER="$compiler" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 >/dev/null
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
cd "$build"

# fuzz NAME SECONDS SEED-DIR [extra libFuzzer flags...]
fuzz() {
  local name=$1 time=$2 seeds=$3
  shift 3
  local fuzzer="$build/$name" log="$build/$name"
  echo "run-fuzz: $name: replaying seeds"
  if ! "$fuzzer" "$seeds"/* >"$log.replay.log" 2>&1; then
    cat "$log.replay.log" >&2
    echo "run-fuzz: $name: FAILED on a seed" >&2
    exit 1
  fi
  grep -c "^Executed" "$log.replay.log" | sed "s/^/run-fuzz: $name: seeds replayed: /"

  mkdir -p "$build/corpus-$name"
  echo "run-fuzz: $name: fuzzing for ${time}s"
  # -malloc_limit_mb catches any allocation sized from a declared count; -timeout catches slow inputs.
  local status=0
  "$fuzzer" -max_total_time="$time" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=256 -print_final_stats=1 \
    "$@" "$build/corpus-$name" "$seeds" >"$log.fuzz.log" 2>&1 || status=$?
  grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$log.fuzz.log" | sed "s/^/run-fuzz: $name: /"
  if [ "$status" -ne 0 ]; then
    grep -E -A30 "ERROR|==[0-9]+==" "$log.fuzz.log" | head -60 >&2
    echo "run-fuzz: $name: FAILED (status $status); log and crash input in $build" >&2
    exit "$status"
  fi
}

fuzz data_file_fuzzer "$seconds" "$root/fuzz/seeds" -dict="$root/fuzz/data_file.dict"
fuzz ntfs_fuzzer "$ntfs_seconds" "$root/fuzz/ntfs-seeds" -max_len=70000
echo "run-fuzz: ok"
