#!/usr/bin/env bash
# Builds the folder tree benchmarks in the win build (Release) and runs them under Wine on a virtual
# display: tree_bench (the tree window on its own; `tools/bench.sh frame wide` measures only the folder of
# 1,000,000 subfolders), then wide_folder_bench (the whole program on data files of 1,000 and of 1,000,000
# subfolders: start to answering, Exit to process end; the data files are kept in /tmp/kelvaran-bench).
# Exit to process end includes about 2 s that Wine waits, without a window manager on the virtual display,
# for the main window to be withdrawn; the baseline of 1,000 subfolders shows it.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
cmake --preset win >/dev/null
cmake --build --preset win --target tree_bench wide_folder_bench Kelvaran -j2 >/dev/null
. tools/xvfb.sh
. tools/wine-env.sh
trap wine_stop EXIT
wine build/win/bench/frame/tree_bench.exe "$@"
work=/tmp/kelvaran-bench
mkdir -p "$work"
wine build/win/bench/frame/wide_folder_bench.exe "Z:${root//\//\\}\\build\\win\\src\\Kelvaran.exe" "Z:${work//\//\\}"
