#!/usr/bin/env bash
# Builds and runs the comparison benchmark: natively (bench preset, host g++ optimised), or with "wine" as
# its first argument the mingw-w64 build under Wine.
#   tools/bench.sh compare [wine] [files folders]   (default 1000000 50000)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
if [ "${1:-}" = wine ]; then
  shift
  cmake --preset win >/dev/null
  cmake --build --preset win --target compare_bench -j2 >/dev/null
  . tools/xvfb.sh
  . tools/wine-env.sh
  trap wine_stop EXIT
  wine build/win/bench/compare/compare_bench.exe "$@" | tr -d '\r'
else
  cmake --preset bench >/dev/null
  cmake --build --preset bench --target compare_bench -j2 >/dev/null
  build/bench/bench/compare/compare_bench "$@"
fi
