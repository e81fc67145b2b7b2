#!/usr/bin/env bash
# gui tier: the system drives table, the About box and the help viewer on screen, in a Wine prefix of
# their own whose extra drive letters F:, G:, R: and N: are folders typed floppy, CD-ROM, RAM disk and
# network in the Wine registry. Checks the table's rows and saves a screenshot of each window.
# Usage: dialogs.sh <dialog_shots.exe> <Kelvaran.chm> <build folder> <artifacts folder>
set -uo pipefail
shots=$1 chm=$2 build=$3 artifacts=$4
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../tools/xvfb.sh" || exit 1
mkdir -p "$artifacts"
export WINEPREFIX="$build/wineprefix-drives" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
work=$(mktemp -d /tmp/kelvaran-dialogs.XXXXXX)
cleanup() { wineserver -k >/dev/null 2>&1; rm -rf "$work"; xvfb_stop; }
trap cleanup EXIT

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi
for drive in f:floppy g:cdrom r:ramdisk n:network; do
  letter=${drive%%:*} type=${drive#*:}
  mkdir -p "$build/gui-drives/$type"
  ln -sfn "$build/gui-drives/$type" "$WINEPREFIX/dosdevices/$letter:"
  wine reg add 'HKLM\Software\Wine\Drives' /v "$letter:" /d "$type" /f >/dev/null 2>&1
done
wineserver -k >/dev/null 2>&1  # the drive types are read when the prefix's services start
wineserver -p >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1
cp "$chm" "$(dirname "$shots")/Kelvaran.chm"

status=0
# Runs one window of dialog_shots, saves the window named $3 (or the whole screen) as $2.png.
shot() {
  local what=$1 picture=$2 title=$3
  rm -f "$work/ready" "$work/done"
  wine "$shots" "$what" "$work/ready" "$work/done" >"$work/$what.out" 2>&1 &
  local pid=$!
  for _ in $(seq 600); do [ -e "$work/ready" ] && break; sleep 0.1; done
  if [ ! -e "$work/ready" ]; then
    echo "FAIL $what: the window did not come up"; status=1
  else
    local id
    id=$(xdotool search --name "$title" 2>/dev/null | head -1)
    if [ -n "$id" ]; then import -window "$id" "$artifacts/$picture.png"; else import -window root "$artifacts/$picture.png"; fi
    echo "ok   $what: screenshot $artifacts/$picture.png"
  fi
  touch "$work/done"
  wait $pid || { echo "FAIL $what: exit status $?"; status=1; }
}

shot drives drives-table "System Drives Info"
rows=$(tr -d '\r' <"$work/drives.out")
echo "$rows"
for expected in "C:|Fixed|" "Z:|Fixed|" "F:|Removable|" "G:|CD-ROM|" "R:|RAM Disk|" "N:|Remote|"; do
  if grep -qF "$expected" <<<"$rows"; then echo "ok   row $expected"; else echo "FAIL no row $expected"; status=1; fi
done
grep -E '^C:\|Fixed\|[^|]+\|[^|]+ \([0-9]+%\)\|' <<<"$rows" | grep -q '|NTFS|' \
  && echo "ok   C: filled with sizes and its file system" || { echo "FAIL C: not filled"; status=1; }

shot about about-box "About Kelvaran"
shot help help-viewer "Kelvaran Help"
exit $status
