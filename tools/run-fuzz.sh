#!/usr/bin/env bash
# Builds the data file fuzzer (clang, libFuzzer, ASan/UBSan) into build/model-fuzz, replays the committed
# seeds, then fuzzes for the given number of seconds (default 60). New inputs go to build/model-fuzz/corpus;
# a crashing input is written to build/model-fuzz/ and the script fails.
# Usage: tools/run-fuzz.sh [seconds]
set -euo pipefail

seconds="${1:-60}"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${KELVARAN_FUZZ_BUILD:-$root/build/model-fuzz}"
compiler="$(command -v clang++-14 || command -v clang++)"

cmake -S "$root/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER="$compiler" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 >/dev/null
fuzzer="$build/data_file_fuzzer"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
cd "$build"
echo "run-fuzz: replaying seeds"
if ! "$fuzzer" "$root"/fuzz/seeds/* >"$build/replay.log" 2>&1; then
  cat "$build/replay.log" >&2
  echo "run-fuzz: FAILED on a seed" >&2
  exit 1
fi
grep -c "^Executed" "$build/replay.log" | sed 's/^/run-fuzz: seeds replayed: /'

mkdir -p "$build/corpus"
echo "run-fuzz: fuzzing for ${seconds}s"
# -malloc_limit_mb catches any allocation sized from a declared count; -timeout catches slow inputs.
status=0
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=256 \
  -dict="$root/fuzz/data_file.dict" -print_final_stats=1 "$build/corpus" "$root/fuzz/seeds" \
  >"$build/fuzz.log" 2>&1 || status=$?
grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$build/fuzz.log" | sed 's/^/run-fuzz: /'
if [ "$status" -ne 0 ]; then
  grep -E -A30 "ERROR|==[0-9]+==" "$build/fuzz.log" | head -60 >&2
  echo "run-fuzz: FAILED (status $status); log and crash input in $build" >&2
  exit "$status"
fi
echo "run-fuzz: ok"
