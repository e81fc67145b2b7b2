#!/usr/bin/env bash
# Builds the folder tree benchmarks with mingw-w64 in build/frame-bench and runs them under Wine on a
# virtual display: tree_bench (the tree window on its own; `tools/bench.sh frame wide` measures only the
# folder of 1,000,000 subfolders), then wide_folder_bench (the whole program on data files of 1,000 and of
# 1,000,000 subfolders: start to answering, Exit to process end; its data files are kept in
# /tmp/kelvaran-bench).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
cmake --preset win -B build/frame-bench >/dev/null
cmake --build build/frame-bench --target tree_bench wide_folder_bench Kelvaran -j2 >/dev/null
. tools/xvfb.sh
. tools/wine-env.sh
trap wine_stop EXIT
wine build/frame-bench/bench/frame/tree_bench.exe "$@"
work=/tmp/kelvaran-bench
mkdir -p "$work"
wine build/frame-bench/bench/frame/wide_folder_bench.exe "Z:${root//\//\\}\\build\\frame-bench\\src\\Kelvaran.exe" \
  "Z:${work//\//\\}"
