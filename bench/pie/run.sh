#!/bin/sh
# Builds the pie benchmark with mingw-w64 (Release) in build/pie-bench and runs it under Wine.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
cmake --preset win -B build/pie-bench >/dev/null
cmake --build build/pie-bench --target pie_bench -j2 >/dev/null
export WINEPREFIX="$root/build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineserver -p >/dev/null 2>&1 || true
exec wine build/pie-bench/bench/pie/pie_bench.exe
