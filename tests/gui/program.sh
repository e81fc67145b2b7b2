#!/usr/bin/env bash
# gui tier: the real Kelvaran.exe used as a user would, on a generated tree, in a Wine prefix of its own:
# start-up on a folder, a data file, a missing path, a bad drive and a quoted drive root; clicks into the
# pie; Back, Forward and Parent from buttons, menus and keys; Rescan and Rescan All, also of a link below
# the root, of a tree from another computer, and of a recent root deleted since; the modes from the menu and the mode box; Export and Copy Name; large tool bar buttons. Screenshots go to the artifacts.
# Usage: program.sh <Kelvaran.exe> <gui_driver.exe> <build folder> <artifacts folder>
set -uo pipefail
program=$1 gui_driver_exe=$2 build=$3 gui_artifacts=$4
. "$(dirname "$0")/gui-lib.sh"
mkdir -p "$gui_artifacts"
work=$(mktemp -d /tmp/kelvaran-program.XXXXXX)
trap 'drv close >/dev/null; gui_stop; rm -rf "$work"' EXIT
gui_prefix "$build/wineprefix-program"

# The tree: a root named outside ASCII, five folders, five files.
root="$work/Données"
mkdir -p "$root/Photos/2026" "$root/Music/rock" "$root/Docs"
truncate -s 3000000 "$root/Photos/2026/a.jpg"
truncate -s 1200000 "$root/Music/rock/b.ogg"
truncate -s 500000 "$root/Music/c.ogg"
truncate -s 800000 "$root/Docs/d.pdf"
truncate -s 5000 "$root/notes.txt"
winroot="Z:${root//\//\\}"

# ---- start-up on a folder (the pointer out of the way: the pie shows the item under it)
xdotool mousemove 0 1000
gui_start "$winroot"
expect "the deep row names the root" "$(current)" "$winroot\\"
expect "the deep row counts the root's folders and files" "$(status_cell 2 1) $(status_cell 2 2)" "5 5"
expect "the tree selects the root" "$(drv probe tree)" "$winroot"
expect "Back starts disabled" "$(drv probe button 11847 | cut -d' ' -f1)" "disabled"

# ---- a click on a ring folder enters it, with a tip on the way
hit=$(find_ring_folder) || fail "no folder on the first ring"
read -r hx hy folder <<<"$hit"
shot program-tip
click_at "$hx" "$hy"
expect "a click on the ring enters the folder" "$(current)" "$winroot\\$folder"
expect "the tree selects the folder" "$(drv probe tree)\\" "$winroot\\$folder"
shot program-entered-folder

# ---- history: buttons, menu and keys
button 11847
expect "Back (button) returns to the root" "$(current)" "$winroot\\"
expect "Forward is enabled after Back" "$(drv probe button 11848 | cut -d' ' -f1)" "enabled"
keys alt+v f
expect "Forward (menu) goes to the folder again" "$(current)" "$winroot\\$folder"
keys BackSpace
expect "Parent (Backspace) goes up" "$(current)" "$winroot\\"
expect "Parent is disabled at the root" "$(drv probe menustate 11849)" "disabled"
keys alt+Left
expect "Alt+Left goes back in the history" "$(current)" "$winroot\\$folder"
keys alt+Right
expect "Alt+Right goes forward" "$(current)" "$winroot\\"

# ---- Rescan All keeps the history; F5 shows changed sizes
keys shift+F5
expect "Rescan All shows the root" "$(wait_for "$winroot\\" current)" "$winroot\\"
expect "Rescan All keeps the history" "$(drv probe menustate 11847)" "enabled"
click_at $(centre_of "$(drv probe treeitem Music)")
expect "a click on a tree item navigates at once" "$(current)" "$winroot\\Music\\"
truncate -s 2500000 "$root/Music/c.ogg"
before=$(status_cell 2 3)
keys F5
after=$(wait_for "x" status_cell 2 3)
[ "$before" != "$after" ] && pass "F5 shows the new size ($before -> $after)" || fail "F5 left the size at $before"

# ---- a link below the root is listed empty, and F5 on it does not walk its target
ln -s "$root/Photos" "$root/link"
keys shift+F5
expect "Rescan All lists the link" "$(wait_for "$winroot\\" current)" "$winroot\\"
click_at $(centre_of "$(drv probe treeitem link)")
expect "into the link through the tree" "$(current)" "$winroot\\link\\"
keys F5
sleep 1
expect "F5 on the link leaves it empty (folders, files)" "$(status_cell 2 1) $(status_cell 2 2)" "0 0"
rm "$root/link"
keys BackSpace
keys shift+F5
expect "Rescan All without the link" "$(wait_for "$winroot\\" current)" "$winroot\\"

# ---- Back to a folder that a Rescan All removed: an empty view, the tree's selection left alone
rm -rf "$root/Docs"
click_at $(centre_of "$(drv probe treeitem Docs)")
expect "into Docs through the tree" "$(current)" "$winroot\\Docs\\"
keys BackSpace
keys shift+F5
expect "Rescan All without Docs" "$(wait_for "$winroot\\" current)" "$winroot\\"
selected=$(drv probe tree)
keys alt+Left
pie_pixels=$(import -window root -crop "$(drv rect 102 | awk '{ printf "%dx%d+%d+%d", $3 - $1, $4 - $2, $1, $2 }')" \
  -format '%k' info: 2>/dev/null)
expect "Back to the removed folder shows an empty pie" "$pie_pixels" "1"
expect "and leaves the tree's selection as it was" "$(drv probe tree)" "$selected"
keys alt+Right
expect "the program goes on" "$(current)" "$winroot\\"

# ---- modes: the menu and the mode box agree
keys alt+m l
expect "Logical size from the menu selects it in the box" "$(drv probe combo 164)" "Logical Size"
expect "and checks it in the menu" "$(drv probe menustate 11866)" "enabled checked"
click_at $(centre_of "$(drv rect 164)")
keys Down Return
expect "Physical Size from the box checks it in the menu" "$(drv probe menustate 11867)" "enabled checked"

# ---- Copy Name
keys alt+c c
expect "Copy Name puts the current folder on the clipboard" "$(drv clipboard)" "$(current)"

# ---- Export, then the exported file on the command line shows the same tree
drv command 11849 >/dev/null
sleep 0.3
rows=$(drv probe status | sed -n 2p)
klv="$work/export.klv"
keys ctrl+s
if [ "$(drv window 'Save As' 10000)" != "none" ]; then
  xdotool type --delay 20 "Z:${klv//\//\\}"
  keys Return
fi
for _ in $(seq 50); do [ -s "$klv" ] && break; sleep 0.1; done
[ -s "$klv" ] && pass "Export wrote the data file" || fail "Export wrote no data file"
read -r pl pt pr pb <<<"$(drv rect 102)"
import -window root -crop "$((pr - pl))x$((pb - pt))+$pl+$pt" "$work/pie-scanned.png"
drv close >/dev/null
gui_start "Z:${klv//\//\\}"
expect "the imported tree shows the same deep row" "$(drv probe status | sed -n 2p)" "$rows"
import -window root -crop "$((pr - pl))x$((pb - pt))+$pl+$pt" "$work/pie-imported.png"
differ=$(compare -metric AE "$work/pie-scanned.png" "$work/pie-imported.png" null: 2>&1)
expect "the imported tree's pie is the scanned one's" "$differ" "0"
drv close >/dev/null

# ---- a tree scanned on another computer: Rescan All and F5 say that its folders are not here, and keep it
server="$work/server.klv"
python3 - "$server" <<'EOF'
import struct, sys
def packed(value):
    data = value.to_bytes(8, "little").rstrip(b"\0")
    return bytes([len(data)]) + data
def name(text):
    data = text.encode()
    return struct.pack("<H", len(data)) + data
def file(text, size):
    return packed(size) + packed(0) + name(text)
def folder(text, files, subfolders):
    return packed(len(files)) + packed(len(subfolders)) + packed(0) + name(text) + b"".join(files + subfolders)
tree = folder("srv01:\\srv\\data", [file("a.log", 5000)], [folder("www", [file("index.html", 70000)], [])])
open(sys.argv[1], "wb").write(b"KLVV0000" + struct.pack("<I", 4096) + tree)
EOF
gui_start "Z:${server//\//\\}"
expect "the server's tree is shown" "$(current)" 'srv01:\srv\data\'
keys shift+F5
expect "Rescan All says the root is not on this computer" "$(drv dialog Kelvaran)" \
  'The folder srv01:\srv\data does not exist on this computer.'
drv press Kelvaran 1 >/dev/null || drv press Kelvaran 2 >/dev/null
expect "and keeps the tree" "$(wait_for 'srv01:\srv\data\' current) $(drv probe tree)" \
  'srv01:\srv\data\ srv01:\srv\data'
click_at $(centre_of "$(drv probe treeitem www)")
expect "into www through the tree" "$(current)" 'srv01:\srv\data\www\'
keys F5
expect "F5 says the folder is not on this computer" "$(drv dialog Kelvaran)" \
  'The folder srv01:\srv\data\www does not exist on this computer.'
drv press Kelvaran 1 >/dev/null || drv press Kelvaran 2 >/dev/null
expect "and keeps it" "$(wait_for 'srv01:\srv\data\www\' current) $(drv probe tree)" \
  'srv01:\srv\data\www\ srv01:\srv\data\www'
shot program-server-tree-kept
drv close >/dev/null

# ---- a recent root deleted since: choosing it says so and keeps the tree (it would scan as an empty one)
xdotool mousemove 0 1000  # the deep row counts the root, not an item under the pointer
gone="$work/gone"
mkdir -p "$gone/sub"
truncate -s 1000 "$gone/sub/kept.bin"
wingone="Z:${gone//\//\\}"
gui_start "$wingone"
expect "the folder to be deleted is scanned" "$(current) $(status_cell 2 1) $(status_cell 2 2)" "$wingone\\ 1 1"
rm -rf "$gone"
drv command 29100 >/dev/null  # the first recent root: the folder just scanned
expect "its recent root says the folder is gone" "$(drv dialog Kelvaran)" \
  "The folder $wingone does not exist on this computer."
drv press Kelvaran 1 >/dev/null || drv press Kelvaran 2 >/dev/null
expect "and keeps the tree" "$(wait_for "$wingone\\" current) $(status_cell 2 1) $(status_cell 2 2)" "$wingone\\ 1 1"
drv close >/dev/null

# ---- messages for a missing path and a bad drive
gui_start "$winroot\\no such folder"
expect "the driver sees the program wait at the message box" "$(drv probe state)" \
  "dialog Kelvaran|The specified name is not a file or a directory:    $winroot\\no such folder"
expect "a missing path is explained" "$(drv dialog Kelvaran)" \
  "The specified name is not a file or a directory:    $winroot\\no such folder"
drv press Kelvaran 1 >/dev/null || drv press Kelvaran 2 >/dev/null
drv close >/dev/null
gui_start "Q:"
expect "a drive that is not there is explained" "$(drv dialog Kelvaran)" "The specified drive is not valid:    Q:"
drv press Kelvaran 1 >/dev/null || drv press Kelvaran 2 >/dev/null
drv close >/dev/null

# ---- a quoted drive root arrives as C:" and scans C:\
gui_start 'C:\'
expect "the quoted drive root is scanned" "$(wait_for 'C:\' current)" 'C:\'
drv close >/dev/null

# ---- large buttons
wine reg add 'HKCU\Software\Tervanic\Kelvaran' /v LargeToolbar /d 1 /f >/dev/null 2>&1
gui_start "$winroot"
read -r _ bt _ bb <<<"$(drv rect 199)"
[ $((bb - bt)) -ge 40 ] && pass "large buttons make a taller tool bar ($((bb - bt)) px)" || fail "tool bar $((bb - bt)) px"
shot program-large-buttons
drv close >/dev/null

gui_exit
