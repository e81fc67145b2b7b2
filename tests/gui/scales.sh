#!/usr/bin/env bash
# gui tier: the real Kelvaran.exe at 96, 144 and 192 DPI (the LogPixels value of a Wine prefix of each
# scale's own, which Wine takes as the one DPI of every monitor). At each scale: the main window on a
# generated tree and every dialog reached from the menus (and the tip editor from the settings), each photographed (scale-<dpi>-<name>.png in the
# artifacts folder, shown by the whole-program run's index page) and checked through the probe that no text
# of a status cell, button, label, list header or fixed list is cut. At 96 DPI a change of scale is sent
# as the system sends it when the window moves to another monitor: the window must take the suggested
# rectangle, and the status bars their font and cell widths for the new DPI, and all of it come back.
# Usage: scales.sh <Kelvaran.exe> <gui_driver.exe> <build folder> <artifacts folder>
set -uo pipefail
program=$1 gui_driver_exe=$2 build=$3 gui_artifacts=$4
. "$(dirname "$0")/gui-lib.sh"
mkdir -p "$gui_artifacts"
work=$(mktemp -d /tmp/kelvaran-scales.XXXXXX)
trap 'drv close >/dev/null; gui_stop; rm -rf "$work"' EXIT
rm -f "$gui_artifacts"/scale-*.png
mkdir -p "$work/Survey/Photos/2026" "$work/Survey/Music" "$work/Survey/Docs"
truncate -s 3000000 "$work/Survey/Photos/2026/a.jpg"
truncate -s 1200000 "$work/Survey/Music/c.ogg"
truncate -s 800000 "$work/Survey/Docs/e.pdf"
truncate -s 5000 "$work/Survey/notes.txt"
winroot="Z:${work//\//\\}\\Survey"

# shoot <dpi> <name> <caption regex or "main">
shoot() {
  local file="$gui_artifacts/scale-$1-$2.png" id
  sleep 0.4
  if [ "$3" == main ]; then id=$(xdotool search --onlyvisible --name '^Kelvaran$' 2>/dev/null | head -1)
  else id=$(xdotool search --onlyvisible --name "$3" 2>/dev/null | tail -1); fi
  if [ -n "$id" ]; then import -window "$id" "$file"; else import -window root "$file"; fi
  [ -s "$file" ] && pass "$1 DPI: screenshot $(basename "$file")" || fail "$1 DPI: no screenshot of $2"
}
fits() {
  local answer
  answer=$(drv probe fit "$2")
  expect_match "$1 DPI: every text of \"$2\" shows whole ($answer)" "$answer" '^checked [0-9]+ cut 0$'
}
# dialog <dpi> <command id> <caption> <name>: opened from its command, photographed, checked, closed.
dialog() {
  drv command "$2" >/dev/null
  if [ "$(drv window "$3" 8000)" == none ]; then
    fail "$1 DPI: \"$3\" did not open"
    return
  fi
  sleep 0.8
  shoot "$1" "$4" "^$3\$"
  fits "$1" "$3"
  drv closewin "$3" >/dev/null
  settle
}
settle() { drv probe hint >/dev/null; sleep 0.3; }

for dpi in 96 144 192; do
  gui_prefix "$build/wineprefix-dpi$dpi"
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wineserver -k >/dev/null 2>&1
  wineserver -w
  wineserver -p >/dev/null 2>&1
  xdotool mousemove 0 1000
  gui_start "$winroot"
  drv place 0 0 $((960 * dpi / 96 > 1270 ? 1270 : 960 * dpi / 96)) $((640 * dpi / 96 > 1000 ? 1000 : 640 * dpi / 96)) >/dev/null
  sleep 0.5
  expect "$dpi DPI: the tree is read" "$(wait_for "$winroot\\" current)" "$winroot\\"
  shoot $dpi main main
  fits $dpi Kelvaran
  read -r state l _ r _ <<<"$(drv probe button 11940)"
  expect "$dpi DPI: the Compare button is enabled, its glyph drawn for the scale" "$state $((r - l >= 16 * dpi / 96))" "enabled 1"
  if [ $dpi == 96 ]; then
    read -r _ l t r b _ font _ cell <<<"$(drv probe dpichange 96 0 0 960 640)"
    before="$l $t $r $b $font $cell"
    read -r _ l t r b _ font _ cell <<<"$(drv probe dpichange 192 20 30 1260 980)"
    expect "WM_DPICHANGED to 192: the suggested rectangle is taken" "$l $t $r $b" "20 30 1260 980"
    expect "WM_DPICHANGED to 192: the status font is 10 points at 192 DPI" "$font" "-27"
    read -r _ _ _ _ font96 cell96 <<<"$before"
    [ "$cell" -ge $((cell96 * 19 / 10)) ] && [ "$cell" -le $((cell96 * 21 / 10)) ] \
      && pass "WM_DPICHANGED to 192: the size cell about doubles ($cell96 -> $cell)" \
      || fail "WM_DPICHANGED to 192: the size cell went from $cell96 to $cell"
    sleep 0.5
    shoot 96 changed-to-192 main
    fits 96 Kelvaran
    read -r _ l t r b _ font _ cell <<<"$(drv probe dpichange 96 0 0 960 640)"
    expect "WM_DPICHANGED back to 96: window, font and cell as before" "$l $t $r $b $font $cell" "$before"
  fi
  dialog $dpi 11858 Settings settings
  # The tip editor, from the settings.
  drv command 11858 >/dev/null
  if [ "$(drv window Settings 8000)" != none ]; then
    sleep 0.5
    drv press Settings 112 >/dev/null
    if [ "$(drv window "Tip Info Editor" 8000)" != none ]; then
      sleep 0.8
      shoot $dpi tip-editor '^Tip Info Editor$'
      fits $dpi "Tip Info Editor"
      drv press "Tip Info Editor" 2 >/dev/null
    else
      fail "$dpi DPI: the tip editor did not open"
    fi
    settle
    drv press Settings 2 >/dev/null
    settle
  fi
  dialog $dpi 11856 Statistics statistics
  dialog $dpi 11857 "File Sizes Histogram" histogram
  dialog $dpi 11864 "Cluster info" cluster-info
  dialog $dpi 11863 "Set Cluster Size" force-cluster
  dialog $dpi 11870 "System Drives Info" system-drives
  dialog $dpi 11920 "File Types" file-types
  dialog $dpi 11862 "About Kelvaran" about
  if [ $dpi != 96 ]; then
    # The placement is remembered in 96-DPI units and opens where it was.
    read -r wl wt wr wb <<<"$(drv window Kelvaran)"
    drv close >/dev/null
    stored=$(wine reg query 'HKCU\Software\Tervanic\Kelvaran' /v MainWndState 2>/dev/null | tr -d '\r' |
      awk '$1 == "MainWndState" { print $3, $4, $5, $6 }')
    expect "$dpi DPI: the window's rectangle is remembered in 96-DPI units" "$stored" \
      "$(awk -v d=$dpi -v a="$wl $wt $wr $wb" 'BEGIN { split(a, v, " "); for (i = 1; i <= 4; i++) printf "%s%d", (i > 1 ? " " : ""), int(v[i] * 96 / d + 0.5) }')"
    gui_start
    read -r nl nt nr nb <<<"$(drv window Kelvaran)"
    close=$(awk -v a="$wl $wt $wr $wb" -v b="$nl $nt $nr $nb" 'BEGIN { split(a, x, " "); split(b, y, " "); ok = 1
      for (i = 1; i <= 4; i++) if (x[i] - y[i] > 1 || y[i] - x[i] > 1) ok = 0; print ok }')
    expect "$dpi DPI: started again, the window opens where it was ($wl $wt $wr $wb -> $nl $nt $nr $nb)" "$close" 1
  fi
  drv close >/dev/null
  wineserver -k >/dev/null 2>&1
done
gui_exit
