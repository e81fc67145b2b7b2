#!/usr/bin/env bash
# Builds the folder tree benchmark with mingw-w64 (Release) in build/frame-bench and runs it under Wine on a
# virtual display.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
cmake --preset win -B build/frame-bench >/dev/null
cmake --build build/frame-bench --target tree_bench -j2 >/dev/null
. tools/xvfb.sh
. tools/wine-env.sh
trap wine_stop EXIT
wine build/frame-bench/bench/frame/tree_bench.exe "$@"
