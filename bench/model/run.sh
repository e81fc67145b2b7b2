#!/bin/sh
# Builds the model benchmark (host g++, Release, no sanitizers) in build/model-bench and runs it there.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
cmake --preset bench -B build/model-bench >/dev/null
cmake --build build/model-bench --target model_bench -j2 >/dev/null
cd build/model-bench
exec ./bench/model/model_bench "$@"
