#!/usr/bin/env bash
# gui tier: start the real Kelvaran.exe on a generated folder, check its main window from outside, save a
# screenshot, close it.  Usage: main_window.sh <Kelvaran.exe> <gui_driver.exe> <artifacts folder>
set -euo pipefail
program=$1 driver=$2 artifacts=$3
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../tools/xvfb.sh"
trap xvfb_stop EXIT
mkdir -p "$artifacts"

tree=$(mktemp -d /tmp/kelvaran-gui.XXXXXX)
trap 'rm -rf "$tree"; xvfb_stop' EXIT
mkdir -p "$tree/Photos/2026" "$tree/Music"
head -c 300000 /dev/zero > "$tree/Photos/2026/a.jpg"
head -c 120000 /dev/zero > "$tree/Music/b.ogg"
head -c 5000 /dev/zero > "$tree/notes.txt"

# The driver's output goes through a file: the program it starts inherits the driver's output, and a pipe
# held open by the still-running program would keep the caller waiting.
log="$tree.log"
status=0
wine "$driver" start "$program" "Z:${tree//\//\\}" >"$log" 2>&1 || status=1
cat "$log"
import -window root "$artifacts/main-window.png" || status=1
wine "$driver" close >"$log" 2>&1 || status=1
cat "$log"

# Alt+F4 is not in the accelerator table: the system closes the frame.
wine "$driver" start "$program" >"$log" 2>&1 || status=1
wine "$driver" close alt-f4 >"$log" 2>&1 || status=1
grep -E '^(FAIL|ok   Alt)' "$log" || true

# Without the common controls library the program still starts, tells why it cannot go on, and ends
# with 0 (a static import would stop it in the loader before any of our code ran).
set +e
WINEDLLOVERRIDES="comctl32=;$WINEDLLOVERRIDES" timeout 60 wine "$program" >"$log" 2>&1
code=$?
set -e
if [ $code -eq 0 ] && grep -q "Could not find common controls library" "$log"; then
  echo "ok   without the common controls library: the message, exit status 0"
else
  echo "FAIL without the common controls library: exit status $code, output: $(tr -d '\r' <"$log")"
  status=1
fi
rm -f "$log"
[ $status -eq 0 ] && echo "screenshot: $artifacts/main-window.png"
exit $status
