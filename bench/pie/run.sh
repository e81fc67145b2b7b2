#!/bin/sh
# Builds the pie benchmark with mingw-w64 (Release) in build/pie-bench and runs it under Wine.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
cmake --preset win -B build/pie-bench >/dev/null
cmake --build build/pie-bench --target pie_bench -j2 >/dev/null
exec bash -c '. tools/wine-env.sh; . tools/xvfb.sh; wine build/pie-bench/bench/pie/pie_bench.exe; rc=$?; xvfb_stop; exit $rc'
