#!/usr/bin/env bash
# End-to-end checks of the real kelvaran-scan, natively or as kelvaran-scan.exe under Wine: a generated
# tree is scanned and the data file, read back with the program's reader (klv_dump), must list exactly
# what Python finds on disk; then thread counts and cluster sizes, a taken temporary name, bad arguments,
# unreadable roots and outputs, an interrupt (Ctrl+C) mid-walk, and (natively) progress on a terminal.
#   scan_cli.sh native|wine <kelvaran-scan> <klv_dump>
set -uo pipefail
mode=$1 scanner=$(realpath "$2") dump=$(realpath "$3")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /tmp/kelvaran-scan-cli.XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0
ok() { echo "ok   $*"; }
fail() { echo "FAIL $*"; failures=$((failures + 1)); }

launch=()
[ "$mode" = wine ] && launch=(wine)
# Runs the scanner with the arguments; status in $rc, its error stream (without Wine's own notes) in $err.
scan() {
  "${launch[@]}" "$scanner" "$@" >out.txt 2>err.raw
  rc=$?
  err=$(tr -d '\r' <err.raw | grep -v '^wine: ')
}
listing() { "${launch[@]}" "$dump" "$1" | tr -d '\r'; }

python3 "$here/make_tree.py" "$work/tree" "$mode" >expected.txt || { echo "FAIL making the tree"; exit 1; }
root_line=$(grep -m1 '^dir ' expected.txt)
root_name=${root_line#dir }
root_name=${root_name%\\}

# 1. The whole tree, read back as the program reads it, matches the disk.
scan tree full.klv
[ $rc -eq 0 ] && ok "scan: exit status 0" || fail "scan: exit status $rc: $err"
[[ "$err" == "kelvaran-scan: scanned $root_name in "*"; written to full.klv" ]] && ok "summary line: $err" \
  || fail "summary line: $err"
grep -q $'\r' <(grep -v '^wine: ' err.raw | tr -d '\n' | sed 's/\r$//') && fail "progress written to a file" \
  || ok "no progress when the error stream is a file"
listing full.klv >dump.txt
grep -q '^LOOKUP' dump.txt && fail "paths not found again: $(grep '^LOOKUP' dump.txt | head -3)"
block=$(python3 -c 'import os; print(os.statvfs("tree").f_frsize)')
case $block in 512|1024|2048|4096|8192|16384|32768|65536) cluster=$block ;; *) cluster=0 ;; esac
[ "$(head -1 dump.txt)" = "cluster $cluster" ] && ok "cluster size $cluster (the file system's block)" \
  || fail "cluster line '$(head -1 dump.txt)', block size $block"
if diff <(LC_ALL=C sort expected.txt) <(grep -v '^cluster' dump.txt | LC_ALL=C sort) >diff.txt; then
  ok "data file lists the $(wc -l <expected.txt) folders and files of the tree, root $root_name"
else
  fail "data file differs from the tree:"; head -20 diff.txt
fi

# 2. Worker counts give the same file; a given cluster size is stored; quiet is quiet.
for threads in 1 3; do
  scan --threads "$threads" tree t$threads.klv
  cmp -s full.klv t$threads.klv && ok "--threads $threads: the same file" || fail "--threads $threads: differs ($rc $err)"
done
scan --quiet --cluster-size=2048 tree c.klv
[ $rc -eq 0 ] && [ -z "$err" ] && ok "--quiet: nothing on the error stream" || fail "--quiet: $rc '$err'"
[ "$(listing c.klv | head -1)" = "cluster 2048" ] && ok "--cluster-size 2048 stored" || fail "--cluster-size 2048 not stored"
# A relative root with dot components names the same folder.
scan tree/./Photos/.. rel.klv
cmp -s full.klv rel.klv && ok "tree/./Photos/.. scans and names the same root" || fail "relative root: $err"

# A file of the user's that already has the temporary name is left alone: the scan writes under another.
printf 'a file of my own' >mine.klv.part
scan tree mine.klv
if [ $rc -eq 0 ] && cmp -s full.klv mine.klv && [ "$(cat mine.klv.part)" = "a file of my own" ] \
   && [ "$(ls mine.klv*)" = "$(printf 'mine.klv\nmine.klv.part')" ]; then
  ok "an existing mine.klv.part is kept as it was, and no other temporary file is left"
else
  fail "existing mine.klv.part: status $rc, '$err', it holds '$(head -c 40 mine.klv.part 2>&1)', $(ls mine.klv* | tr '\n' ' ')"
fi

# 3. Bad arguments: status 2, the argument named, the usage, and no file.
while IFS='|' read -r args message; do
  read -ra words <<<"$args"
  scan "${words[@]}"
  if [ $rc -eq 2 ] && grep -qF -- "$message" <<<"$err" && grep -q '^usage: kelvaran-scan' <<<"$err"; then
    ok "bad arguments '$args': $message"
  else
    fail "bad arguments '$args': status $rc, $err"
  fi
done <<'CASES'
--threads 0 tree bad.klv|kelvaran-scan: --threads: '0' is not a number of workers
tree|kelvaran-scan: missing OUTPUT
--frobnicate tree bad.klv|kelvaran-scan: unknown option '--frobnicate'
--cluster-size 3000 tree bad.klv|kelvaran-scan: --cluster-size: '3000' is not a cluster size
tree bad.klv extra|kelvaran-scan: unexpected argument 'extra'
CASES
[ -e bad.klv ] && fail "a bad command line left bad.klv"

# 4. A root that cannot be read, an output that cannot be written: status 1, nothing written.
scan no-such-folder none.klv
[ $rc -eq 1 ] && [[ "$err" == "kelvaran-scan: cannot read no-such-folder: "* ]] && ok "missing root: $err" \
  || fail "missing root: status $rc, $err"
scan tree/zero none.klv
[ $rc -eq 1 ] && [ "$err" = "kelvaran-scan: cannot read tree/zero: not a folder" ] && ok "file as root: $err" \
  || fail "file as root: status $rc, $err"
scan tree no-such-folder/out.klv
[ $rc -eq 1 ] && [[ "$err" == "kelvaran-scan: cannot write no-such-folder/out.klv: "* ]] \
  && ok "output folder missing: $err" || fail "output folder missing: status $rc, $err"
[ -e none.klv ] || [ -e none.klv.part ] && fail "a failed scan left none.klv"

# 5. Ctrl+C in the middle of the walk: every listing is slowed down (strace delays the system's directory
# reads), so the interrupt surely lands mid-walk. The older file under the target's name stays as it was.
printf 'an older scan' >older.klv
if command -v strace >/dev/null; then
  # A script's background job starts with Ctrl+C ignored, which Wine keeps: restore it. (And the leak
  # checker of a sanitized build cannot run under a tracer.)
  ASAN_OPTIONS=detect_leaks=0 env --default-signal=INT strace -f -qq -o /dev/null -e trace=getdents64 -e inject=getdents64:delay_exit=150000 \
    "${launch[@]}" "$scanner" tree older.klv >out.txt 2>err.raw &
  tracer=$!
  # The walk is under way once the scanner holds a subfolder of the tree open (Wine's start-up reads
  # folders too, so a fixed wait could land before the walk).
  walking=""
  for _ in $(seq 300); do
    pid=$(pgrep -P $tracer | head -1)  # the tracer's child, not the tracer
    if [ -n "$pid" ] && find "/proc/$pid/fd" -lname "$work/tree/*" 2>/dev/null | grep -q .; then walking=$pid; break; fi
    sleep 0.1
  done
  [ -n "$walking" ] && kill -INT "$walking" || echo "note: the scanner was not seen walking"
  wait $tracer
  rc=$?
  err=$(tr -d '\r' <err.raw | grep -v '^wine: ')
  if [ $rc -eq 130 ] && [ "$err" = "kelvaran-scan: interrupted; older.klv was not written" ] \
     && [ "$(cat older.klv)" = "an older scan" ] && [ ! -e older.klv.part ]; then
    ok "Ctrl+C mid-walk: status 130, the older file unchanged, no partial file"
  else
    fail "Ctrl+C mid-walk: status $rc, '$err', target '$(head -c 40 older.klv)', $(ls older.klv* | tr '\n' ' ')"
  fi
else
  fail "strace is missing (tools/install-deps.sh installs it)"
fi

# 6. Progress on a terminal (natively; a pseudo-terminal from script).
if [ "$mode" = native ]; then
  script -qec "'$scanner' tree tty.klv" /dev/null >tty.txt 2>&1
  if grep -q $'\rfolders [0-9,]*  files [0-9,]*  bytes .*  elapsed 0:0' tty.txt && grep -q 'kelvaran-scan: scanned' tty.txt; then
    ok "progress line on a terminal, then the summary"
  else
    fail "progress on a terminal: $(tr '\r' '|' <tty.txt | head -c 300)"
  fi
fi

echo "$failures failed"
[ $failures -eq 0 ]
