# Pieces the benchmark scripts share (sourced): timing, reading "key value" result lines, the generated trees.

# Best wall time of three runs of a command, in seconds.
best_of_3() {
  local best="" start end t
  for _ in 1 2 3; do
    start=$(date +%s.%N); "$@" >/dev/null; end=$(date +%s.%N)
    t=$(echo "$end - $start" | bc -l)
    if [ -z "$best" ] || [ "$(echo "$t < $best" | bc -l)" = 1 ]; then best=$t; fi
  done
  printf '%.3f' "$best"
}

# The value after KEY in a line of "key value" pairs.
field() { awk -v k="$1" '{ for (i = 1; i < NF; i++) if ($i == k) print $(i + 1) }' <<<"$2"; }

# A divided by B, with DIGITS decimals (default 2).
ratio() { printf "%.${3:-2}f" "$(echo "$1 / $2" | bc -l)"; }

# Sets `files` and `folders` for a tree size (200k, 1m or 2m); any other size ends the script.
tree_counts() {
  case $1 in
    200k) files=200000; folders=20000 ;;
    1m) files=1000000; folders=60000 ;;
    2m) files=2000000; folders=120000 ;;
    *) echo "unknown size $1 (200k, 1m or 2m)" >&2; exit 2 ;;
  esac
}

# Generates TREE with GENERATOR once (files and folders from tree_counts); its totals go beside it, to
# TREE.totals, written last so an interrupted run makes the tree anew.
ensure_tree() {
  local generator=$1 tree=$2
  [ -f "$tree.totals" ] && return 0
  rm -rf "$tree"
  echo "generating $tree ($files files in $folders folders)..." >&2
  "$generator" "$tree" "$files" "$folders" >"$tree.totals.tmp"
  mv "$tree.totals.tmp" "$tree.totals"
}
