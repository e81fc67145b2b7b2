#!/usr/bin/env bash
# Builds the pie benchmark with mingw-w64 (Release) in build/pie-bench and runs it under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
cmake --preset win -B build/pie-bench >/dev/null
cmake --build build/pie-bench --target pie_bench -j2 >/dev/null
. tools/xvfb.sh
. tools/wine-env.sh
trap wine_stop EXIT
wine build/pie-bench/bench/pie/pie_bench.exe "$@"
