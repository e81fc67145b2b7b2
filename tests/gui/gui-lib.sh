# Shared by the gui tier's scripts that drive the real Kelvaran.exe: a Wine prefix of the script's own,
# the driver, real input through xdotool, checks that count failures, and screenshots.
#
#   . gui-lib.sh
#   gui_prefix "$build/wineprefix-program"      # private prefix, settings key cleared
#   gui_start "$argument"                       # runs $program through the driver, checks its window
#   drv probe status                            # gui_driver, its output without carriage returns
#   expect "the tree shows the root" "$(drv probe tree)" "Z:\\data"
#   gui_exit                                    # exit status: 1 when any check failed
. "$(dirname "${BASH_SOURCE[0]}")/../../tools/xvfb.sh" || exit 1
gui_failures=0
: "${gui_driver_exe:?set gui_driver_exe before sourcing gui-lib.sh}" "${gui_artifacts:?set gui_artifacts too}"

gui_prefix() {
  export WINEPREFIX=$(realpath -m "$1") WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
  wineserver -p >/dev/null 2>&1
  "$(dirname "${BASH_SOURCE[0]}")/../../tools/wine-fonts.sh"
  wine cmd /c exit </dev/null >/dev/null 2>&1
  wine reg delete 'HKCU\Software\Tervanic\Kelvaran' /f >/dev/null 2>&1 || true
}

gui_stop() { wineserver -k >/dev/null 2>&1; xvfb_stop; }

drv() { wine "$gui_driver_exe" "$@" 2>/dev/null | tr -d '\r'; }

# Starts the program through the driver and checks its main window. The program inherits the driver's
# output, so that goes to a file: a pipe held open by the running program would never end.
gui_start() {
  local log
  log=$(mktemp)
  wine "$gui_driver_exe" start "$program" "$@" >"$log" 2>&1
  if grep -q '^FAIL' "$log"; then fail "start $*: $(grep '^FAIL' "$log" | tr -d '\r' | tr '\n' ' ')"; else pass "start $*"; fi
  rm -f "$log"
  gui_unhover
}

# A new program takes the pointer to be at the screen's centre, over the pie, until the pointer moves over
# one of its windows, and its deep row and a tip may then show the item there. A move to the pie's corner,
# outside the rings, and back to where the pointer was puts that right.
gui_unhover() {
  local left top X Y SCREEN WINDOW
  read -r left top _ _ <<<"$(drv rect 102)"
  [[ "$left" =~ ^-?[0-9]+$ ]] || return 0
  eval "$(xdotool getmouselocation --shell)"
  xdotool mousemove $((left + 2)) $((top + 2))
  sleep 0.3
  xdotool mousemove "$X" "$Y"
}

pass() { echo "ok   $1"; }
fail() { echo "FAIL $1"; gui_failures=$((gui_failures + 1)); }
expect() { if [ "$2" == "$3" ]; then pass "$1"; else fail "$1: expected [$3], got [$2]"; fi; }
expect_match() { if [[ "$2" =~ $3 ]]; then pass "$1"; else fail "$1: [$2] does not match /$3/"; fi; }

# Waits until a command's output equals the expected text (10 s); prints the last output.
wait_for() {
  local expected=$1 got=""
  shift
  for _ in $(seq 100); do
    got=$("$@")
    [ "$got" == "$expected" ] && break
    sleep 0.1
  done
  printf '%s' "$got"
}

# Line $1 (1: header, 2: deep, 3: shallow) and cell $2 (1..6) of the status bars.
status_cell() { drv probe status | sed -n "${1}p" | cut -f "$2"; }

# Centre of a window rectangle "left top right bottom".
centre_of() { awk '{ printf "%d %d", ($1 + $3) / 2, ($2 + $4) / 2 }' <<<"$1"; }

click_at() { xdotool mousemove "$1" "$2" click 1; sleep 0.3; }
keys() { xdotool key "$@"; sleep 0.4; }

# A point of the first ring whose segment is a folder: the shallow row names the hovered item.
find_ring_folder() {
  read -r left top right bottom <<<"$(drv rect 102)"
  local cx=$(((left + right) / 2)) cy=$(((top + bottom) / 2))
  local side=$((right - left < bottom - top ? right - left : bottom - top))
  local r=$((side * 42 / 100 / 2))
  for angle in 10 40 70 100 130 160 190 220 250 280 310 340; do
    local x y name
    x=$(awk -v c=$cx -v r=$r -v a=$angle 'BEGIN { printf "%d", c + r * cos(a * 3.14159 / 180) }')
    y=$(awk -v c=$cy -v r=$r -v a=$angle 'BEGIN { printf "%d", c + r * sin(a * 3.14159 / 180) }')
    xdotool mousemove "$x" "$y"
    sleep 0.2
    name=$(status_cell 3 6)
    if [[ "$name" == *\\ ]]; then
      echo "$x $y $name"
      return 0
    fi
  done
  return 1
}

# Clicks the tool bar button of a command id.
button() { click_at $(centre_of "$(drv probe button "$1" | cut -d' ' -f2-)"); }
# The current folder, as the deep row names it.
current() { status_cell 2 6; }

shot() { import -window root "$gui_artifacts/$1.png" && pass "screenshot $gui_artifacts/$1.png"; }

gui_exit() {
  [ $gui_failures -eq 0 ] && echo "all checks passed" || echo "$gui_failures checks FAILED"
  [ $gui_failures -eq 0 ]
}
