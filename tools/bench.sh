#!/bin/sh
# Runs one subsystem's benchmark: tools/bench.sh <subsystem> executes bench/<subsystem>/run.sh.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -lt 1 ] || [ ! -x "$root/bench/$1/run.sh" ]; then
  echo "usage: tools/bench.sh <subsystem>   (one of: $(cd "$root/bench" && ls */run.sh 2>/dev/null | sed 's#/run.sh##' | tr '\n' ' '))" >&2
  exit 2
fi
sub=$1
shift
exec "$root/bench/$sub/run.sh" "$@"
