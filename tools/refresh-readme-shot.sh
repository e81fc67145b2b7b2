#!/usr/bin/env bash
# Refreshes docs/main-window.png, the README's picture of the main window after a scan: builds Kelvaran.exe
# and the gui driver (win preset), generates a small tree of sparse files, starts the program on it under a
# virtual display in a Wine prefix of its own (build/wineprefix-shot, default settings apart from the
# window's place), waits for the scan to end, and saves the main window.
#   tools/refresh-readme-shot.sh [output.png]     (default: docs/main-window.png)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
output=$(realpath -m "${1:-docs/main-window.png}")
./tools/install-deps.sh
cmake --preset win >/dev/null
cmake --build --preset win --target Kelvaran gui_driver -j2 >/dev/null
program=$root/build/win/src/Kelvaran.exe
driver=$root/build/win/tests/gui/gui_driver.exe

. tools/xvfb.sh
export WINEPREFIX=$root/build/wineprefix-shot WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
tree=$(mktemp -d /tmp/kelvaran-shot.XXXXXX)
cleanup() { wineserver -k >/dev/null 2>&1 || true; rm -rf "$tree"; xvfb_stop; }
trap cleanup EXIT
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi
# The tree is drive D: of the prefix, so the picture shows D:\Home rather than a temporary path.
wineserver -k >/dev/null 2>&1 || true
ln -sfn "$tree" "$WINEPREFIX/dosdevices/d:"
wineserver -p >/dev/null 2>&1
wine reg delete 'HKCU\Software\Tervanic\Kelvaran' /f >/dev/null 2>&1 || true
wine reg add 'HKCU\Software\Tervanic\Kelvaran' /v MainWndState /d '0 0 1000 700 0' /f >/dev/null 2>&1

# A home folder of a few gigabytes: sparse files, so it takes no space.
python3 - "$tree/Home" <<'PY'
import os, random, sys
home = sys.argv[1]
rng = random.Random(11)
layout = {
    "Videos/Holidays": (6, 900e6), "Videos/Talks": (4, 400e6), "Photos/2024": (120, 6e6),
    "Photos/2025": (160, 7e6), "Photos/Scans": (40, 2e6), "Music/Albums/Quartets": (30, 9e6),
    "Music/Albums/Piano": (24, 11e6), "Music/Podcasts": (18, 40e6), "Documents/Taxes": (30, 300e3),
    "Documents/Letters": (60, 60e3), "Projects/engine/src": (200, 40e3), "Projects/engine/build": (60, 3e6),
    "Projects/site/assets": (80, 500e3), "Downloads": (25, 80e6), "Backups": (3, 1.5e9),
}
for folder, (count, mean) in layout.items():
    os.makedirs(os.path.join(home, folder), exist_ok=True)
    for i in range(count):
        with open(os.path.join(home, folder, f"file{i:03}.dat"), "wb") as f:
            f.truncate(int(mean * rng.uniform(0.3, 1.7)))
PY

wine "$program" 'D:\Home' >/dev/null 2>&1 &
started=$!
wine "$driver" wait 60000 >/dev/null
# The start-up scan runs in its progress dialog; the picture is taken once that has gone.
for _ in $(seq 600); do
  xdotool search --name '^Reading Disk Structure$' >/dev/null 2>&1 || break
  sleep 0.1
done
# Over the folder tree's empty part: the program learns where the pointer is only from moves over its
# windows, and takes it for the screen's centre (over the pie: a tip) until then.
xdotool mousemove 150 450
sleep 2
window=$(xdotool search --name '^Kelvaran$' | head -1)
mkdir -p "$(dirname "$output")"
import -window "$window" "$output"
wine "$driver" close >/dev/null 2>&1 || true
wait $started || true
echo "saved $output"
