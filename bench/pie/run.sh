#!/usr/bin/env bash
# Builds the pie benchmark with mingw-w64 (Release) in build/pie-bench and runs it under Wine.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
cmake --preset win -B build/pie-bench >/dev/null
cmake --build build/pie-bench --target pie_bench -j2 >/dev/null
. tools/wine-env.sh
exec wine build/pie-bench/bench/pie/pie_bench.exe "$@"
