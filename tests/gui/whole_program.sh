#!/usr/bin/env bash
# gui tier: every menu command and tool bar button of the real Kelvaran.exe in one run, as a person would
# use them, in a Wine prefix of its own: a drive from the path box (its progress dialog paused and
# resumed), Any Folder through the system's folder browser, navigation by pie, tree, buttons and menu,
# the pie's own menu, Back, Forward, Parent, Rescan and Rescan All, the three modes, Force Cluster Size,
# Cluster info, Statistics (Find, Copy, double-click), the histogram, System Drives Info, File Types with
# the pie coloured by type and one type shown in it, Settings with a
# refused and a changed value, the tip editor, the colour chooser and Help, About, Help Topics, the three
# file view commands, Export and Import (a round trip), the commands on items (Delete to the Recycle Bin
# from the pie's menu of a file, Delete Permanently with Shift+Del, Copy Path, Open, Properties), Copy
# Name, a marked status cell, a moved window and Exit; then the program starts again and the settings,
# the recent roots, the window placement and the status bar mark must have come back. One screenshot per window goes to the artifacts folder, and
# index.html there shows them all with their captions.
# Usage: whole_program.sh <Kelvaran.exe> <gui_driver.exe> <build folder> <artifacts folder>
set -uo pipefail
program=$1 gui_driver_exe=$2 build=$3 gui_artifacts=$4
. "$(dirname "$0")/gui-lib.sh"
mkdir -p "$gui_artifacts"
began=$(date +%s)
work=$(mktemp -d /tmp/kelvaran-whole.XXXXXX)
gui_prefix "$build/wineprefix-whole"
trap 'drv close >/dev/null; gui_stop; rm -rf "$work" "$WINEPREFIX/drive_c/Survey" "$WINEPREFIX/drive_c/Bulk"' EXIT
# The Recycle Bin of this run (Wine's desktop trash); Wine's shell needs the folder above it to exist.
export XDG_DATA_HOME="$work/xdg"
mkdir -p "$XDG_DATA_HOME"
key='HKCU\Software\Tervanic\Kelvaran'

# The tree lies on the prefix's C: drive, where the folder browser reaches it through its folder tree.
tree="$WINEPREFIX/drive_c/Survey"
winroot='C:\Survey'
rm -rf "$tree"
mkdir -p "$tree/Photos/2026" "$tree/Music/rock" "$tree/Docs/old"
truncate -s 3000000 "$tree/Photos/2026/a.jpg"
truncate -s 700000 "$tree/Photos/b.png"
truncate -s 1200000 "$tree/Music/rock/c.ogg"
truncate -s 500000 "$tree/Music/d.ogg"
truncate -s 800000 "$tree/Docs/e.pdf"
truncate -s 90000 "$tree/Docs/old/f.txt"
truncate -s 5000 "$tree/notes.txt"
# A drive with enough files that its scan can be caught and paused.
mkdir -p "$WINEPREFIX/drive_c/Bulk"
for d in $(seq -w 0 149); do
  mkdir -p "$WINEPREFIX/drive_c/Bulk/d$d"
  (cd "$WINEPREFIX/drive_c/Bulk/d$d" && touch f{000..199})
done

# ---- screenshots and the index page
rm -f "$gui_artifacts"/whole-*.png
shots=()
# snap <name> <window title, a regex; "main" for the main window with its pop-ups> <caption>
snap() {
  local file id
  file=$(printf 'whole-%02d-%s.png' $((${#shots[@]} + 1)) "$1")
  sleep 0.4
  id=""
  if [ "$2" == main ]; then
    # Menus and drop-down lists are windows of their own: the screen, cut to the main window.
    local X=0 Y=0 WIDTH=1 HEIGHT=1 SCREEN WINDOW
    eval "$(xdotool search --onlyvisible --name '^Kelvaran$' 2>/dev/null | head -1 | xargs -r xdotool getwindowgeometry --shell)"
    import -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$gui_artifacts/$file"
  else
    id=$(xdotool search --onlyvisible --name "$2" 2>/dev/null | tail -1)
    if [ -n "$id" ]; then import -window "$id" "$gui_artifacts/$file"; else import -window root "$gui_artifacts/$file"; fi
  fi
  [ -s "$gui_artifacts/$file" ] && pass "screenshot $file" || fail "no screenshot $file"
  shots+=("$file|$3")
}
write_index() {
  local page="$gui_artifacts/index.html" entry
  {
    echo '<!DOCTYPE html><html><head><meta charset="utf-8"><title>Kelvaran: the whole program</title>'
    echo '<style>body{font-family:sans-serif;margin:2em;background:#eee}figure{display:inline-block;vertical-align:top;'
    echo 'margin:1em;padding:1em;background:#fff;box-shadow:0 1px 3px #999}img{max-width:640px;display:block}'
    echo 'figcaption{max-width:640px;margin-top:.5em}</style></head><body>'
    echo "<h1>Kelvaran: every window of one run</h1><p>$(date -u '+%Y-%m-%d %H:%M UTC'), ${#shots[@]} screenshots.</p>"
    for entry in "${shots[@]}"; do
      echo "<figure><a href=\"${entry%%|*}\"><img src=\"${entry%%|*}\" alt=\"\"></a><figcaption>${entry#*|}</figcaption></figure>"
    done
    # The main window and the dialogs at three display scales, from the scales run (scales.sh).
    local name dpi
    if ls "$gui_artifacts"/scale-96-*.png >/dev/null 2>&1; then
      echo "<h2>At 96, 144 and 192 DPI</h2>"
      for name in $(cd "$gui_artifacts" && ls scale-96-*.png | sed 's/^scale-96-//; s/\.png$//'); do
        echo "<div>"
        for dpi in 96 144 192; do
          [ -f "$gui_artifacts/scale-$dpi-$name.png" ] || continue
          echo "<figure><a href=\"scale-$dpi-$name.png\"><img src=\"scale-$dpi-$name.png\" alt=\"\"></a><figcaption>$name at $dpi DPI</figcaption></figure>"
        done
        echo "</div>"
      done
    fi
    echo '</body></html>'
  } >"$page"
  pass "index page $page"
}

# ---- small helpers
item_rect() { drv item "$@" | cut -d'|' -f1 | cut -d' ' -f3-; }
click_item() { click_at $(centre_of "$(item_rect "$@")"); }
gone() { [ "$(drv window "$1" 300)" == "none" ]; }
reg_value() { wine reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | awk -v v="$1" '$1 == v { $1 = ""; $2 = ""; sub(/^  /, ""); print }'; }
pixel() { import -window root -crop "1x1+$1+$2" txt:- 2>/dev/null | tail -1 | grep -o '#[0-9A-F]\{6\}'; }
pie_shot() {
  read -r pl pt pr pb <<<"$(drv rect 102)"
  import -window root -crop "$((pr - pl))x$((pb - pt))+$pl+$pt" "$1"
}
# Waits until a command's output differs from $1 (10 s); prints the last output.
wait_change() {
  local old=$1 got=""
  shift
  for _ in $(seq 100); do
    got=$("$@")
    [ "$got" != "$old" ] && break
    sleep 0.1
  done
  printf '%s' "$got"
}
# A drop-down by its mnemonic, then an item by its own: the drop-down must be open before the second key.
menu() {
  xdotool key "alt+$1"
  sleep 0.4
  xdotool key "$2"
  sleep 0.5
}
pause_text() { drv item "Reading Disk Structure" 105 | cut -d'|' -f2; }
deep_row() { drv probe status | sed -n 2p; }
# The pointer over the tree's empty lower part: off the pie, whose figures follow the pointer, but over
# the program, since without a window manager the keys go to the window under the pointer.
park() {
  read -r _ _ tr tb <<<"$(drv rect 101)"
  xdotool mousemove $((tr - 20)) $((tb - 10))
  sleep 0.2
}
# The help viewer lists the compiled help file's contents (its pages cannot be drawn under Wine here).
help_contents() {
  local texts
  texts=$(drv probe treetexts Kelvaran Help)
  expect_match "the help viewer $1 lists the program's contents" "$texts" "^[*]?Kelvaran\|.*Settings\|[*]?Tip editor\|"
  echo "note: the contents entry selected: $(tr '|' '\n' <<<"$texts" | grep '^[*]' || echo none)"
}
# Returns once the program's window thread answers again: a closed dialog box is put away slowly without a
# window manager, and keys sent meanwhile would go to the hidden dialog.
settle() { drv probe hint >/dev/null; sleep 0.2; }
# Waits for a top-level window of that caption; a failed check when it does not come.
opens() { [ "$(drv window "$1" "${2:-5000}")" != none ] && return 0; fail "no window \"$1\" came up"; return 1; }
new_windows() { comm -13 <(sort <<<"$1") <(xdotool search --onlyvisible --name . 2>/dev/null | sort); }

# ==== first run
xdotool mousemove 0 1000
# Where File Types was last: beside the main window while it shows File Types below.
wine reg add "$key" /v DlgDataFileTypes /d "1 740 0 1280 430 0 1 2 0" /f >/dev/null 2>&1
gui_start
snap main-empty '^Kelvaran$' "The main window at start-up: nothing scanned yet, nothing chosen in the path box."

# ---- a drive from the path box; its progress dialog is caught, paused and resumed
# The driver that pauses the scan waits for the dialog before the drive is chosen, since a driver started
# afterwards comes too late. The walk may still beat it on a fast machine: then the drive is chosen
# again (Down Up moves the selection away and back, or closing the list would choose nothing).
caught=""
for attempt in 1 2 3; do
  click_at $(centre_of "$(drv rect 123)")
  [ $attempt == 1 ] && snap path-box main "The path box opened on the tool bar: the drives of the system."
  drv press "Reading Disk Structure" 105 8000 >/dev/null 2>&1 &
  pauser=$!
  sleep 2.5
  keys Down Up Return
  if [ "$(drv window "Reading Disk Structure" 3000)" != none ]; then
    caught=yes
    expect "the progress dialog pauses" "$(wait_for Resume pause_text)" "Resume"
    snap progress-paused "Reading Disk Structure" "Scanning drive C: in the progress dialog, paused: Resume goes on."
    drv press "Reading Disk Structure" 105 >/dev/null
    wait $pauser
    break
  fi
  wait $pauser
  echo "note: attempt $attempt: the scan ended before its dialog could be caught"
done
[ -n "$caught" ] || fail "the progress dialog of the drive scan was not seen in 3 attempts"
drive_files() { status_cell 2 2 | tr -d ','; }
for _ in $(seq 100); do [ "$(drive_files)" -ge 30000 ] 2>/dev/null && break; sleep 0.1; done
expect "the path box scans drive C:" "$(current) $([ "$(drive_files)" -ge 30000 ] 2>/dev/null && echo "with the bulk folder's files")" \
  "C:\\ with the bulk folder's files"
expect "a drive root is no recent root" "$(drv probe menuitems 0 | tr '|' '\n' | grep -c '^C:\\$')" "0"
snap main-drive '^Kelvaran$' "Drive C: scanned: the folder tree on the left, the pie of the drive on the right."

# ---- Any Folder: the system's folder browser opens at the current folder and is answered from its tree
button 11843
if opens "Browse for Folder" 10000; then
  snap folder-browser "Browse for Folder" "Any Folder: the system's folder browser, opened at the current folder."
  keys Right
  xdotool type --delay 40 Survey
  sleep 0.5
  keys Return
fi
expect "Any Folder scans the chosen folder" "$(wait_for "$winroot\\" current)" "$winroot\\"
expect "and the tree shows it" "$(drv probe tree)" "$winroot"
expect_match "the chosen folder is a recent root" "$(drv probe menuitems 0)" "\|C:\\\\Survey\\\\\|"
# The same from the menu, cancelled: the folder stays.
park
menu r a
if opens "Browse for Folder" 10000; then
  keys Escape
  for _ in $(seq 30); do gone "Browse for Folder" && break; sleep 0.1; done
  gone "Browse for Folder" && pass "Cancel closes the folder browser" || fail "the folder browser stays"
fi
expect "a cancelled Any Folder (menu) keeps the folder" "$(current)" "$winroot\\"
# The drive and the recent root from the Root menu: the drives come first, the recent roots just above
# the separator before Exit, the last item.
menu r Return
expect "the drive from the Root menu scans C:" "$(wait_for 'C:\' current)" 'C:\'
recent_root() {
  park
  xdotool key alt+r
  sleep 0.4
  keys End Up Return
}
recent_root
expect "the recent root from the Root menu scans it again" "$(wait_for "$winroot\\" current)" "$winroot\\"

# ---- navigation: pie, tree, Back, Forward, Parent
hit=$(find_ring_folder) || fail "no folder on the first ring"
read -r hx hy folder <<<"$hit"
snap pie-tip '^Kelvaran$' "The pointer over a folder of the first ring: its floating tip, its figures in the shallow row."
xdotool click 3
sleep 0.5
snap pie-menu main "A right click on that folder: the pie's own menu for it."
keys c
expect "Copy Name from the pie's menu copies that folder" "$(drv clipboard)" "$winroot\\$folder"
click_at "$hx" "$hy"
expect "a click on the pie enters the folder" "$(current)" "$winroot\\$folder"
click_at $(centre_of "$(drv probe treeitem Music)")
expect "a click in the tree enters Music" "$(current)" "$winroot\\Music\\"
button 11847
expect "Back returns to the folder entered by pie" "$(current)" "$winroot\\$folder"
button 11848
expect "Forward goes to Music again" "$(current)" "$winroot\\Music\\"
button 11849
expect "Parent goes up to the root" "$(current)" "$winroot\\"
expect "Parent is disabled at the root" "$(drv probe button 11849 | cut -d' ' -f1)" "disabled"
park
menu v b
expect "Back (menu) returns to Music" "$(current)" "$winroot\\Music\\"
menu v f
expect "Forward (menu) goes to the root again" "$(current)" "$winroot\\"
menu v b
expect "Back (menu) once more" "$(current)" "$winroot\\Music\\"
menu v p
expect "Parent (menu) goes up from Music" "$(current)" "$winroot\\"

# ---- Rescan (button) and Rescan All (button) see changed files
size_before=$(status_cell 2 3)
truncate -s 2500000 "$tree/notes.txt"
button 11850
size_grown=$(wait_change "$size_before" status_cell 2 3)
[ "$size_grown" != "$size_before" ] && pass "Rescan sees the grown file ($size_before -> $size_grown)" \
  || fail "Rescan left the size at $size_before"
truncate -s 5000 "$tree/notes.txt"
button 11851
expect "Rescan All sees it shrink back" "$(wait_change "$size_grown" status_cell 2 3)" "$size_before"
expect "Rescan All keeps the history" "$(drv probe button 11847 | cut -d' ' -f1)" "enabled"
truncate -s 2500000 "$tree/notes.txt"
park
menu v r
expect "Rescan (menu) sees the grown file" "$(wait_for "$size_grown" status_cell 2 3)" "$size_grown"
truncate -s 5000 "$tree/notes.txt"
menu v a
expect "Rescan All (menu) sees it shrink back" "$(wait_for "$size_before" status_cell 2 3)" "$size_before"

# ---- the three modes, from the menu and the mode box
menu m l
expect "Logical size (menu)" "$(drv probe combo 164)" "Logical Size"
click_at $(centre_of "$(drv rect 164)")
keys Down Return
expect "Physical Size (mode box) checks the menu item" "$(drv probe menustate 11867)" "enabled checked"
menu m w
expect "Wasted space (menu)" "$(drv probe combo 164)" "Wasted Space"
snap mode-wasted '^Kelvaran$' "Mode Wasted Space: the pie shows what the clusters waste."
menu m l

# ---- Force Cluster Size and Cluster info
alloc_before=$(status_cell 2 4)
menu m c
if opens "Set Cluster Size" 5000; then
  snap force-cluster "Set Cluster Size" "Force Cluster Size: the sizes to choose from."
  keys End Return
fi
alloc_after=$(wait_change "$alloc_before" status_cell 2 4)
[ "$alloc_after" != "$alloc_before" ] && pass "64 KB clusters change the allocated size ($alloc_before -> $alloc_after)" \
  || fail "the allocated size stayed $alloc_before"
menu i c
if opens "Cluster info" 5000; then
  expect "Cluster info has a row for each cluster size from 512 bytes to 64 KB" "$(drv probe listrow 0 Cluster info | cut -d' ' -f1)" "8"
  snap cluster-info "Cluster info" "Cluster info: the space the tree takes with each cluster size."
  drv press "Cluster info" 1 >/dev/null
fi
sleep 0.3
gone "Cluster info" && pass "Cluster info closes" || fail "Cluster info stays"

# ---- Statistics: Find, Copy, double-click
menu i s
if opens Statistics 5000; then
  click_item Statistics 112
  keys Down Return
  expect "the first query is chosen" "$(drv item Statistics 112 | cut -d'|' -f2)" "Largest files"
  drv press Statistics 1 >/dev/null
  sleep 0.8
  read -r count rl rt _ rb <<<"$(drv probe listrow 0 Statistics)"
  if [ "${count:-0}" -eq 7 ] && [ "$rl" != none ]; then
    pass "Find lists the tree's 7 files"
    click_at $((rl + 30)) $(((rt + rb) / 2))
    snap statistics Statistics "Statistics: the largest files of the tree, the first one selected."
    drv press Statistics 106 >/dev/null
    sleep 0.5
    expect_match "Copy puts the selection on the clipboard" "$(drv clipboard)" "a\.jpg"
    xdotool mousemove $((rl + 30)) $(((rt + rb) / 2)) click --repeat 2 --delay 80 1
    sleep 0.5
    expect "a double-click shows the result's folder" "$(current)" "$winroot\\Photos\\2026\\"
  else
    fail "Find listed ${count:-no} results, not the tree's 7 files"
  fi
  drv closewin Statistics >/dev/null
fi
gone Statistics && pass "Statistics closes" || fail "Statistics stays"

# ---- the histogram and the system drives
menu i f
if opens "File Sizes Histogram" 5000; then
  snap histogram "File Sizes Histogram" "File Sizes Histogram: how many files of each size, on a logarithmic scale."
  drv closewin "File Sizes Histogram" >/dev/null
fi
gone "File Sizes Histogram" && pass "the histogram closes" || fail "the histogram stays"
menu i d
if opens "System Drives Info" 5000; then
  sleep 1
  drives=$(drv probe listrow 0 System Drives Info | cut -d' ' -f1)
  [ "${drives:-0}" -ge 2 ] && pass "System Drives Info lists the prefix's $drives drives" || fail "System Drives Info lists ${drives:-no} drives"
  snap system-drives "System Drives Info" "System Drives Info: every drive with its capacity and file system."
  drv closewin "System Drives Info" >/dev/null
fi
gone "System Drives Info" && pass "System Drives Info closes" || fail "System Drives Info stays"

# ---- File Types: the pie coloured by type, the kinds of files in a list, one of them shown in the pie
to_root() { for _ in 1 2 3 4; do [ "$(current)" == "$winroot\\" ] && break; button 11849; done; }
# Colours of the pie's twelve type colours: the largest type's, and the second's.
first_type='#1F78C8' second_type='#F08214'
has_colour() { convert "$1" -format %c histogram:info:- 2>/dev/null | grep -ci "$2"; }
to_root
# The main window on the left, the dialog at its remembered place beside it (the value set before the run).
read -r ml mt mr mb <<<"$(drv window Kelvaran)"
drv place 0 0 735 1000 >/dev/null
sleep 0.5
park
pie_shot "$work/pie-by-size.png"
menu o s
if opens Settings 5000; then
  click_item Settings 2010
  expect "the fifth colouring method is Type-encoded" "$(drv item Settings 2010 | cut -d'|' -f2)" "Type-encoded"
  drv press Settings 1 >/dev/null
fi
settle
pie_colours() { pie_shot "$work/pie-now.png"; compare -metric AE "$work/pie-by-size.png" "$work/pie-now.png" null: 2>&1; }
wait_change 0 pie_colours >/dev/null
pie_shot "$work/pie-by-type.png"
[ "$(has_colour "$work/pie-by-type.png" "$first_type")" -ge 1 ] && [ "$(has_colour "$work/pie-by-type.png" "$second_type")" -ge 1 ] \
  && pass "Type-encoded: the two largest types in their colours" || fail "the pie shows no type colours"
snap main-by-type '^Kelvaran$' "Type-encoded colouring: each of the tree's largest file types in a colour of its own (jpg blue, ogg orange, pdf green, png red, txt purple), folders in pale size shades."
menu i t
if opens "File Types" 5000; then
  expect "File Types opens where it was last" "$(drv window "File Types")" "740 0 1280 430"
  scope_text() { drv item "File Types" 2004 | cut -d'|' -f2; }
  expect "File Types lists the tree's kinds of files" "$(wait_for "$winroot\\ and its subfolders: 7 files, 5 types, 6.0 MB" scope_text)" \
    "$winroot\\ and its subfolders: 7 files, 5 types, 6.0 MB"
  read -r count fl ft _ fb <<<"$(drv probe listrow 0 File Types)"
  read -r _ _ lt _ lb <<<"$(drv probe listrow 4 File Types)"
  expect "one row per type" "$count" "5"
  if [ "${count:-0}" -eq 5 ]; then
    click_at $((fl + 60)) $(((ft + fb) / 2))
    xdotool keydown shift mousemove $((fl + 60)) $(((lt + lb) / 2)) click 1 keyup shift
    sleep 0.3
    drv press "File Types" 2006 >/dev/null
    sleep 0.5
    copied=$(drv clipboard)
    expect "Copy: a header and the rows, largest first" "$(cut -f1 <<<"$copied" | paste -sd' ')" "Type jpg ogg pdf png txt"
    expect_match "Copy: tab-separated bytes, allocated bytes, share and files" "$copied" $'jpg\t3000000\t[0-9]+\t47\\.7%\t1'
    snap file-types "File Types" "File Types: the kinds of files of the whole tree, largest first, each with its colour in the pie; all rows selected and copied."
    xdotool mousemove $((fl + 60)) $(((ft + fb) / 2)) click --repeat 2 --delay 80 1
    sleep 0.5
    park
    expect "the status row names the shown type's totals" "$(wait_for "Type jpg: 2.9 MB in 1 file" status_cell 3 6)" "Type jpg: 2.9 MB in 1 file"
    pie_shot "$work/pie-highlight.png"
    [ "$(has_colour "$work/pie-highlight.png" "$first_type")" -ge 1 ] && [ "$(has_colour "$work/pie-highlight.png" "$second_type")" -eq 0 ] \
      && pass "a double-click shows jpg in the pie and fades the rest" || fail "the pie does not show jpg alone"
    snap main-highlight '^Kelvaran$' "A double-click on jpg in File Types: the jpg files keep their colour, everything else fades; the lower status row names jpg's totals in the current folder."
    click_at $(centre_of "$(drv probe treeitem Music)")
    expect "the list follows the current folder" "$(wait_for "$winroot\\Music\\ and its subfolders: 2 files, 1 type, 1.6 MB" scope_text)" \
      "$winroot\\Music\\ and its subfolders: 2 files, 1 type, 1.6 MB"
    park
    expect "in Music jpg has no files" "$(status_cell 3 6)" "Type jpg: 0 bytes in 0 files"
    read -r _ ol ot _ ob <<<"$(drv probe listrow 0 File Types)"
    click_at $((ol + 60)) $(((ot + ob) / 2))
    keys Return
    park
    expect "Enter on a row shows that type instead" "$(wait_for "Type ogg: 1.6 MB in 2 files" status_cell 3 6)" \
      "Type ogg: 1.6 MB in 2 files"
  fi
  pie_shot "$work/pie-shown.png"
  drv closewin "File Types" >/dev/null
fi
gone "File Types" && pass "File Types closes" || fail "File Types stays"
park
pie_shot "$work/pie-closed.png"
[ "$(compare -metric AE "$work/pie-shown.png" "$work/pie-closed.png" null: 2>&1)" != 0 ] \
  && [ "$(has_colour "$work/pie-closed.png" "$second_type")" -ge 1 ] && pass "closing File Types ends the highlight" \
  || fail "the pie stays highlighted after File Types closed"
expect "and the status row its text" "$(status_cell 3 6)" ""
to_root
menu o s
if opens Settings 5000; then
  click_item Settings 109
  drv press Settings 1 >/dev/null
fi
settle
expect "Size-encoded again" "$(wait_for 0 pie_colours)" "0"
drv place "$ml" "$mt" $((mr - ml)) $((mb - mt)) >/dev/null
sleep 0.5

# ---- Settings: a changed colouring and large buttons, the tip editor, the colour chooser, Help
button 11849
button 11849
expect "back at the root for the settings" "$(current)" "$winroot\\"
park
pie_shot "$work/pie-before.png"
read -r _ bar_top _ bar_bottom <<<"$(drv rect 199)"
menu o s
if opens Settings 5000; then
  snap settings Settings "Settings as they were: Size-encoded colours, small tool bar buttons."
  click_item Settings 101
  xdotool key ctrl+a
  xdotool type --delay 40 5
  drv press Settings 1 >/dev/null
  if opens "Range Error" 5000; then
    snap range-error "Range Error" "OK with a central disk size of 5 %: refused, the settings stay open."
    drv press "Range Error" 1 >/dev/null
    settle
  fi
  expect "a refused value keeps the settings open" "$(drv window Settings 300 | wc -w)" "4"
  # The refused value comes back selected, so typing replaces it.
  xdotool type --delay 40 40
  sleep 0.3
  expect "the central disk size is now 40" "$(drv item Settings 101 Edit | cut -d'|' -f2)" "40"
  expect "typing in the central disk size opens no help" "$(drv window "Kelvaran Help" 500)" "none"
  click_item Settings 110
  click_item Settings 124
  click_item Settings 112
  if opens "Tip Info Editor" 5000; then
    read -r ll lt lr _ <<<"$(item_rect "Tip Info Editor" 108)"
    xdotool mousemove $((ll + 30)) $((lt + 8)) click --repeat 2 --delay 80 1
    sleep 0.3
    expect_match "a double-click inserts the symbol into the text" "$(drv item "Tip Info Editor" 101 | cut -d'|' -f2)" \
      "#DSIZE.*#DSIZE"
    snap tip-editor "Tip Info Editor" "The tip editor: the folder symbols; a double-click put #DSIZE into the text."
    drv press "Tip Info Editor" 1 >/dev/null
  fi
  sleep 0.3
  click_item Settings 102
  if opens Color 5000; then
    snap colour-chooser Color "The system's colour chooser, opened by the Fixed color button."
    drv press Color 2 >/dev/null
  fi
  sleep 0.3
  click_item Settings 101 Button
  if opens "Kelvaran Help" 8000; then
    help_contents "from the settings"
    snap help-settings "Kelvaran Help" "The Help button of the settings: the help viewer with the program's contents (its page pane stays empty under Wine, which has no HTML engine here)."
    drv closewin "Kelvaran Help" >/dev/null
  fi
  snap settings-changed Settings "Settings changed: Rainbow wash, large tool bar buttons, central disk 40 %."
  drv press Settings 1 >/dev/null
fi
sleep 0.5
gone Settings && pass "OK closes the settings" || fail "the settings stay open"
# Without a window manager the system takes two seconds to put a closed dialog away before the dialog
# call returns and the settings apply.
bar_height() { drv rect 199 | awk '{ print $4 - $2 }'; }
wait_change "$((bar_bottom - bar_top))" bar_height >/dev/null
read -r _ top_now _ bottom_now <<<"$(drv rect 199)"
[ $((bottom_now - top_now)) -gt $((bar_bottom - bar_top + 10)) ] && pass "the tool bar grew at once ($((bar_bottom - bar_top)) -> $((bottom_now - top_now)) px)" \
  || fail "the tool bar stayed $((bottom_now - top_now)) px"
pie_shot "$work/pie-after.png"
differ=$(compare -metric AE "$work/pie-before.png" "$work/pie-after.png" null: 2>&1)
[ "${differ:-0}" != 0 ] && pass "the pie shows the new colouring ($differ pixels changed)" || fail "the pie did not change"
snap main-settings-applied '^Kelvaran$' "After OK: the pie in Rainbow wash with a larger centre, the tool bar buttons doubled."
expect "nothing is written to the registry before the end" "$(reg_value ClrMeth)|$(reg_value LargeToolbar)|$(reg_value CenterRatio)" "||"

# ---- About and Help Topics
menu h a
if opens "About Kelvaran" 5000; then
  sleep 0.5
  snap about "About Kelvaran" "About: the animated banner, the version and the links."
  drv press "About Kelvaran" 1 >/dev/null
fi
sleep 0.3
gone "About Kelvaran" && pass "About closes" || fail "About stays"
menu h t
if opens "Kelvaran Help" 8000; then
  help_contents "from Help Topics"
  snap help-topics "Kelvaran Help" "Help Topics: the help viewer with the program's contents (its page pane stays empty under Wine, which has no HTML engine here)."
  drv closewin "Kelvaran Help" >/dev/null
fi

# ---- the three Explorer commands open the system's file view at the current folder, from the tool bar
# and from the menu
for how in "button 11852" "button 11853" "button 11854" "menu c o" "menu c e" "menu c h"; do
  before=$(xdotool search --onlyvisible --name . 2>/dev/null)
  park
  $how
  opened=""
  for _ in $(seq 40); do
    opened=$(new_windows "$before" | head -1)
    [ -n "$opened" ] && break
    sleep 0.25
  done
  if [ -n "$opened" ]; then
    title=$(xdotool getwindowname "$opened")
    expect "$how opens the file view of the current folder" "$title" "Survey"
    [ "$how" == "button 11852" ] && snap explorer "^$title\$" "Open Folder: the system's file view of the current folder."
    drv closewin "$title" 5000 >/dev/null || fail "the file view \"$title\" stays"
  else
    fail "$how opened no file view"
  fi
done

# ---- Export and Import through the system's file dialogs, from the tool bar and the menu
# answer_file <how> <caption> <screenshot name or ""> <caption of the screenshot> <file>
answer_file() {
  park
  $1
  if opens "$2" 10000; then
    [ -n "$3" ] && snap "$3" "^$2\$" "$4"
    xdotool type --delay 20 "Z:${5//\//\\}"
    keys Return
  fi
}
klv="$work/survey.klv"
rows=$(deep_row)
expect_match "the deep row shows the root before Export" "$rows" "C:\\\\Survey\\\\$"
answer_file "button 11845" "Save As" export "Export: the system's save dialog for the data file." "$klv"
for _ in $(seq 50); do [ -s "$klv" ] && break; sleep 0.1; done
[ -s "$klv" ] && pass "Export (button) wrote the data file" || fail "Export (button) wrote no data file"
rm "$tree/Docs/old/f.txt"
button 11851
changed=$(wait_change "$rows" deep_row)
[ "$changed" != "$rows" ] && pass "Rescan All without a file changes the deep row" || fail "the deep row stayed"
answer_file "menu r i" "Open" import "Import: the system's open dialog for a data file." "$klv"
expect "Import (menu) shows the exported tree again" "$(wait_for "$rows" deep_row)" "$rows"
answer_file "menu r e" "Save As" "" "" "$work/again.klv"
for _ in $(seq 50); do [ -s "$work/again.klv" ] && break; sleep 0.1; done
cmp -s "$klv" "$work/again.klv" && pass "Export (menu) of the imported tree writes the same file" \
  || fail "the imported tree exports differently"
button 11851
wait_change "$rows" deep_row >/dev/null
answer_file "button 11844" "Open" "" "" "$work/again.klv"
expect "Import (button) shows it again" "$(wait_for "$rows" deep_row)" "$rows"

# ---- a comparison with the data file written before a file went
button 11851
wait_change "$rows" deep_row >/dev/null
expect "the tool bar's Compare button is enabled with a tree" "$(drv probe button 11940 | cut -d' ' -f1)" "enabled"
answer_file "button 11940" "Open" "" "" "$klv"  # Compare With Data File...
# The rows name the change once the comparison is on; the picture is taken only then.
expect_match "Compare With Data File: the deep row names the current folder's change" \
  "$(wait_change "$rows" deep_row)" '  \((new, )?[-+0-9]'
snap main-comparison '^Kelvaran$' "Compare With Data File: the pie in Growth against the data file written before Docs\\old\\f.txt went."
drv command 11941 >/dev/null  # End Comparison: Rainbow wash again, which the end of the run stores

# ---- the commands on items: Delete from the pie's menu of a file, Delete Permanently with Shift+Del on
# the folder tree's selection (No is its default), Copy Path from the Commands menu, Open and Properties
# from the tool bar; each time the status rows must equal those of a fresh scan
mkdir -p "$tree/Old/2019"
truncate -s 2000000 "$tree/Old/2019/v1.mp4"
truncate -s 1000000 "$tree/Old/2019/v2.mp4"
truncate -s 3000 "$tree/Old/list.txt"
truncate -s 6000000 "$tree/big.iso"
rows=$(deep_row)
button 11851
wait_change "$rows" deep_row >/dev/null
# A point of the first ring whose segment is the item named $1.
find_ring_item() {
  read -r left top right bottom <<<"$(drv rect 102)"
  local cx=$(((left + right) / 2)) cy=$(((top + bottom) / 2))
  local side=$((right - left < bottom - top ? right - left : bottom - top))
  local r=$((side * 42 / 100 / 2))
  for angle in $(seq 0 15 345); do
    local x y
    x=$(awk -v c=$cx -v r=$r -v a=$angle 'BEGIN { printf "%d", c + r * cos(a * 3.14159 / 180) }')
    y=$(awk -v c=$cy -v r=$r -v a=$angle 'BEGIN { printf "%d", c + r * sin(a * 3.14159 / 180) }')
    xdotool mousemove "$x" "$y"
    sleep 0.2
    [ "$(status_cell 3 6)" == "$1" ] && { echo "$x $y"; return 0; }
  done
  return 1
}
# The deep row of the current folder: the pointer in the pie's corner, off every ring (over a ring the row
# shows the item there).
rows_now() {
  local left top
  read -r left top _ _ <<<"$(drv rect 102)"
  xdotool mousemove $((left + 2)) $((top + 2))
  sleep 0.3
  deep_row
}
fresh_rows() {
  park
  button 11851
  sleep 1.5
  rows_now
}
expect "Delete is disabled for the scan's root" "$(drv probe button 11902 | cut -d' ' -f1)" "disabled"
if hit=$(find_ring_item big.iso); then
  xdotool click 3
  sleep 0.5
  snap item-menu main "A right click on a file of the pie: the menu of items (Open, Properties, Delete, Delete Permanently, Copy Path)."
  keys d
  if opens Delete 5000; then
    expect "the confirmation names the file and its size" "$(drv dialog Delete)" "Move '$winroot\\big.iso' to the Recycle Bin? 5.7 MB."
    snap confirm-delete "^Delete$" "Delete: the confirmation before a file goes to the Recycle Bin."
    drv press Delete 6 >/dev/null
  fi
  settle
  [ ! -e "$tree/big.iso" ] && pass "Delete took the file off the disk" || fail "the file is still there"
  [ -e "$XDG_DATA_HOME/Trash/files/big.iso" ] && pass "and it is in the Recycle Bin" || fail "the file is not in the Recycle Bin"
  after=$(rows_now)
  expect "the status rows after Delete equal a fresh scan's" "$after" "$(fresh_rows)"
else
  fail "no segment of big.iso on the first ring"
fi
click_at $(centre_of "$(drv probe treeitem Old)")
expect "a click in the tree selects Old" "$(current)" "$winroot\\Old\\"
expect "Delete is enabled for a folder below the root" "$(drv probe button 11902 | cut -d' ' -f1)" "enabled"
park
keys shift+Delete
if opens "Delete Permanently" 5000; then
  expect "the permanent confirmation says it cannot be undone" "$(drv dialog "Delete Permanently")" \
    "Delete '$winroot\\Old\\' permanently? 2.9 MB in 3 files and 1 folder. This cannot be undone."
  snap confirm-delete-permanently "^Delete Permanently$" "Delete Permanently (Shift+Del on the folder tree's selection): No is the default button."
  keys Return
fi
settle
[ -e "$tree/Old/2019/v1.mp4" ] && pass "Return answers No: the folder stays" || fail "Return deleted the folder"
keys shift+Delete
if opens "Delete Permanently" 5000; then
  drv press "Delete Permanently" 6 >/dev/null
fi
settle
[ ! -e "$tree/Old" ] && pass "Delete Permanently removed the folder" || fail "the folder is still there"
[ ! -e "$XDG_DATA_HOME/Trash/files/Old" ] && pass "and not into the Recycle Bin" || fail "the folder went to the Recycle Bin"
expect "the view left the deleted folder for its parent" "$(current)" "$winroot\\"
after=$(rows_now)
expect "the status rows after Delete Permanently equal a fresh scan's" "$after" "$(fresh_rows)"
click_at $(centre_of "$(drv probe treeitem Music)")
park
menu c End
keys Return
expect "Copy Path (menu) copies the selected folder" "$(drv clipboard)" "$winroot\\Music\\"
# Open and Properties of the selected folder go to the system: a file view opens; what the system makes
# of Properties here is noted.
before=$(xdotool search --onlyvisible --name . 2>/dev/null)
button 11900
opened=""
for _ in $(seq 40); do
  opened=$(new_windows "$before" | head -1)
  [ -n "$opened" ] && break
  sleep 0.25
done
if [ -n "$opened" ]; then
  title=$(xdotool getwindowname "$opened")
  expect "Open (button) opens the selected folder" "$title" "Music"
  drv closewin "$title" 5000 >/dev/null || fail "the file view \"$title\" stays"
else
  fail "Open (button) opened nothing"
fi
before=$(xdotool search --onlyvisible --name . 2>/dev/null)
button 11901
sleep 2
state=$(drv probe state)
opened=$(new_windows "$before" | head -1)
if [[ "$state" == dialog* ]]; then
  echo "note: Properties here: ${state#dialog }"
  keys Return
elif [ -n "$opened" ]; then
  title=$(xdotool getwindowname "$opened")
  echo "note: Properties opened \"$title\""
  snap properties "^$title\$" "Properties (tool bar) of the selected folder: the system's properties sheet."
  drv closewin "$title" 5000 >/dev/null
else
  echo "note: Properties showed nothing here"
fi
settle
click_at $(centre_of "$(drv probe treeitem "$winroot")")
expect "back at the root" "$(current)" "$winroot\\"

# ---- Copy Name, a marked status cell, the window moved
menu c c
expect "Copy Name puts the current folder on the clipboard" "$(drv clipboard)" "$winroot\\"
read -r cl ct cr cb <<<"$(drv probe cellrect 2 3)"
cx=$((cl + 4)) cy=$(((ct + cb) / 2))
plain=$(pixel $cx $cy)
click_at $(((cl + cr) / 2)) $cy
park
sleep 0.3
marked=$(pixel $cx $cy)
[ "$marked" != "$plain" ] && pass "a click marks the Size cell of the deep row ($plain -> $marked)" || fail "the cell stays $plain"
drv place 40 30 1000 760 >/dev/null
sleep 0.5
expect "the window moved" "$(drv window Kelvaran)" "40 30 1040 790"
snap main-before-exit '^Kelvaran$' "Before Exit: moved and resized, the Size cell of the deep row marked."

# ---- Exit from the menu writes the settings
menu r x
for _ in $(seq 100); do gone Kelvaran && break; sleep 0.1; done
gone Kelvaran && pass "Exit ends the program" || fail "Exit left the program running"
# The pie's values are written as its window is destroyed, a moment after the frame is gone.
written() { echo "$(reg_value ClrMeth)|$(reg_value LargeToolbar)|$(reg_value CenterRatio)"; }
expect "the settings are written at the end" "$(wait_for "2|1|40" written)" "2|1|40"
expect "the window placement is written" "$(reg_value MainWndState)" "40 30 1040 790 0"
expect "the mark is written" "$(reg_value SBar2Flags)" "4"
expect "File Types' place and choices are written" "$(reg_value DlgDataFileTypes)" "1 740 0 1280 430 0 1 2 0"

# ==== second run: everything came back
gui_start
expect "the window placement came back" "$(drv window Kelvaran)" "40 30 1040 790"
read -r _ top_now _ bottom_now <<<"$(drv rect 199)"
[ $((bottom_now - top_now)) -ge 40 ] && pass "the large tool bar came back ($((bottom_now - top_now)) px)" || fail "tool bar $((bottom_now - top_now)) px"
expect_match "the recent root came back" "$(drv probe menuitems 0)" "\|C:\\\\Survey\\\\\|"
park
sleep 0.3
read -r cl ct cr cb <<<"$(drv probe cellrect 2 3)"
read -r ol ot or ob <<<"$(drv probe cellrect 2 2)"
expect "the status bar mark came back" "$(pixel $((cl + 4)) $(((ct + cb) / 2)))" "$marked"
expect "and only on its cell" "$(pixel $((ol + 4)) $(((ot + ob) / 2)))" "$plain"
menu o s
if opens Settings 5000; then
  expect "Rainbow wash came back" "$(drv item Settings 110 | cut -d' ' -f2)" "checked"
  expect "Large toolbar buttons came back" "$(drv item Settings 124 | cut -d' ' -f2)" "checked"
  expect "the central disk size came back" "$(drv item Settings 101 | cut -d'|' -f2)" "40"
  drv press Settings 2 >/dev/null
fi
settle
recent_root
expect "the recent root scans again" "$(wait_for "$winroot\\" current)" "$winroot\\"
snap main-restarted '^Kelvaran$' "Started again: same place and size, large buttons, Rainbow wash, the mark, the recent root scanned."
drv close alt-f4 >/dev/null && pass "Alt+F4 ends the second run" || fail "Alt+F4 left the program running"

write_index
echo "wall time $(($(date +%s) - began)) s"
gui_exit
