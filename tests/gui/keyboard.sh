#!/usr/bin/env bash
# gui tier: the main window without a mouse, on a generated tree in a Wine prefix of its own. Tab goes round
# the folder tree, the pie, the path box and the mode box; in the pie the arrow keys and Home move a focused
# segment whose figures the status rows show and whose name, size and share the pie's window text (its
# accessible name) gives; Enter enters a folder, Backspace returns with the focus on the folder left;
# Shift+F10 and the context-menu key open the focused item's menu; Ctrl+C copies its path and Del asks to
# delete it. A screenshot
# shows the focus outline. Last, a right click moves the focus to the segment clicked.
# Usage: keyboard.sh <Kelvaran.exe> <gui_driver.exe> <build folder> <artifacts folder>
set -uo pipefail
program=$1 gui_driver_exe=$2 build=$3 gui_artifacts=$4
. "$(dirname "$0")/gui-lib.sh"
mkdir -p "$gui_artifacts"
work=$(mktemp -d /tmp/kelvaran-keyboard.XXXXXX)
trap 'drv close >/dev/null; gui_stop; rm -rf "$work"' EXIT
gui_prefix "$build/wineprefix-keyboard"

# Photos is the largest item of the root, then Music, Docs and notes.txt.
root="$work/keys"
mkdir -p "$root/Photos/2026" "$root/Music/rock" "$root/Docs"
truncate -s 3000000 "$root/Photos/2026/a.jpg"
truncate -s 1200000 "$root/Music/rock/b.ogg"
truncate -s 500000 "$root/Music/c.ogg"
truncate -s 800000 "$root/Docs/d.pdf"
truncate -s 400000 "$root/notes.txt"
winroot="Z:${root//\//\\}"

focus() { drv probe focus; }
# The id of the pane that holds the focus: the pie 102, the tree 101, the path box 123, the mode box 164.
pane() {
  local ids
  ids=$(focus | cut -d'|' -f1)
  for id in 102 101 123 164; do [[ " $ids " == *" $id "* ]] && { echo $id; return; }; done
  echo "$ids"
}
# The shallow row's name: the focused item, relative to the current folder.
named() { status_cell 3 6; }

xdotool mousemove 0 1000  # the pointer off the pie, which follows it otherwise
gui_start "$winroot"
expect "the deep row names the root" "$(current)" "$winroot\\"
# Without a window manager the keys go to the window under the pointer: the header row, away from the pie.
xdotool mousemove $(centre_of "$(drv probe cellrect 1 1)")

# ---- Tab goes round the panes, Shift+Tab back (the view around them has the focus at start)
for _ in 1 2 3 4; do
  [ "$(pane)" == 102 ] && break
  keys Tab
done
expect "Tab reaches the pie" "$(pane)" "102"
expect_match "the pie's text names the largest item, its size and share" "$(focus | cut -d'|' -f2)" \
  '^Photos\\, 2\.9 MB, [0-9.]+%$'
keys Tab
expect "Tab goes on to the path box" "$(pane)" "123"
keys Tab
expect "then to the mode box" "$(pane)" "164"
keys Tab
expect "then round to the folder tree" "$(pane)" "101"
keys shift+Tab
expect "Shift+Tab goes back to the mode box" "$(pane)" "164"
keys Tab Tab
expect "and Tab from the tree to the pie" "$(pane)" "102"

# ---- the arrows and Home over the rings
keys Home
expect "Home focuses the largest segment of the first ring" "$(named)" "Photos\\"
shot keyboard-focus
ring=("$(named)")
for _ in 1 2 3 4; do
  keys Right
  ring+=("$(named)")
done
expect "Right goes round the first ring and wraps" "${ring[4]}" "Photos\\"
expect "through the four items" "$(printf '%s\n' "${ring[@]:0:4}" | LC_ALL=C sort | tr '\n' ' ')" \
  "Docs\\ Music\\ Photos\\ notes.txt "
keys Left
expect "Left goes back and wraps" "$(named)" "${ring[3]}"
keys Right Up
expect "Up goes out to the first child" "$(named)" "Photos\\2026\\"
keys Up
expect "and further out" "$(named)" "Photos\\2026\\a.jpg"
keys Up
expect "Up from a file stays" "$(named)" "Photos\\2026\\a.jpg"
keys Down Down
expect "Down comes in to the parent" "$(named)" "Photos\\"
keys Down
expect_match "Down from the first ring focuses the centre" "$(focus | cut -d'|' -f2)" \
  "^${winroot//\\/\\\\}\\\\, 5\\.6 MB, 100\\.0%$"
shot keyboard-centre

# ---- Enter and Backspace
keys Home Return
expect "Enter enters the focused folder" "$(current)" "$winroot\\Photos\\"
expect "the tree follows" "$(drv probe tree)\\" "$winroot\\Photos\\"
expect "the pie keeps the focus" "$(pane)" "102"
expect_match "the focus goes to the new folder's largest item" "$(focus | cut -d'|' -f2)" '^2026\\, '
keys BackSpace
expect "Backspace returns to the parent" "$(current)" "$winroot\\"
expect_match "with the focus on the folder left" "$(focus | cut -d'|' -f2)" '^Photos\\, '
keys Right
moved=$(named)
keys Left
expect "the arrows go on from there" "$moved $(named)" "${ring[1]} Photos\\"

# ---- the context menu and the clipboard
keys shift+F10
shot keyboard-menu
keys c
expect "Shift+F10 opens the focused folder's menu (Copy Name)" "$(drv clipboard)" "$winroot\\Photos\\"
keys Up Up
keys Menu
keys Up Return  # the last item, Copy Path
expect "the context-menu key opens the focused file's menu (Copy Path)" "$(drv clipboard)" \
  "$winroot\\Photos\\2026\\a.jpg"
keys Down
keys ctrl+c
expect "Ctrl+C copies the focused item's path" "$(drv clipboard)" "$winroot\\Photos\\2026\\"
expect "no menu is left open" "$(drv probe state)" "idle"

# ---- Del acts on the focused item, not on the folder tree's selection (the root, which is refused)
keys Delete
box=$(drv dialog Delete 5000)
if [[ $box == "Move '$winroot\\Photos\\2026\\' to the Recycle Bin?"* ]]; then
  pass "Del asks about the focused folder"
else
  fail "Del asks about the focused folder: got [$box]"
fi
drv press Delete 7 >/dev/null  # No
sleep 0.5
if [ -d "$root/Photos/2026" ]; then pass "No leaves it on the disk"; else fail "No leaves it on the disk"; fi
expect "the pie has the focus again" "$(pane)" "102"

# ---- a click focuses the segment clicked
hit=$(find_ring_folder) || fail "no folder on the first ring"
read -r hx hy folder <<<"$hit"
xdotool click 3
sleep 0.5
keys Escape
expect_match "a right click moves the focus to its folder" "$(focus | cut -d'|' -f2)" "^${folder//\\/\\\\}, "

drv close >/dev/null
gui_exit
