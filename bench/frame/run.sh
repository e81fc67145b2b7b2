#!/usr/bin/env bash
# Builds the folder tree benchmarks in the win build (Release) and runs them under Wine on a virtual
# display: tree_bench (the tree window on its own; `tools/bench.sh frame wide` measures only the folder of
# 1,000,000 subfolders), then wide_folder_bench (the whole program on data files of 1,000 and of 1,000,000
# subfolders: start to answering, Exit to process end; the data files are kept in /tmp/kelvaran-bench).
# Exit to process end includes about 2 s that Wine waits, without a window manager on the virtual display,
# for the main window to be withdrawn; the baseline of 1,000 subfolders shows it.
# `tools/bench.sh frame delete` measures only the removal of one file's record from the tree of 1,000,000
# files with the pie's refresh, beside a full recomputation of the totals (item_delete_bench); the whole
# run ends with it too.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
cmake --preset win >/dev/null
cmake --build --preset win --target tree_bench wide_folder_bench item_delete_bench Kelvaran -j2 >/dev/null
. tools/xvfb.sh
. tools/wine-env.sh
trap wine_stop EXIT
if [ "${1:-}" == delete ]; then
  wine build/win/bench/frame/item_delete_bench.exe
  exit
fi
wine build/win/bench/frame/tree_bench.exe "$@"
work=/tmp/kelvaran-bench
mkdir -p "$work"
wine build/win/bench/frame/wide_folder_bench.exe "Z:${root//\//\\}\\build\\win\\src\\Kelvaran.exe" "Z:${work//\//\\}"
wine build/win/bench/frame/item_delete_bench.exe
