#!/usr/bin/env bash
# Builds the file types benchmark with mingw-w64 (Release, the win preset) and runs it under Wine.
# tools/bench.sh types [files folders]   (default 1000000 50000)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
cmake --preset win >/dev/null
cmake --build --preset win --target types_bench -j2 >/dev/null
. tools/xvfb.sh
. tools/wine-env.sh
trap wine_stop EXIT
wine build/win/bench/types/types_bench.exe "$@" | tr -d '\r'
