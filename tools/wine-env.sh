# Sourced by the scripts that run Windows programs: a private Wine prefix under build/, created once, with a
# warm wineserver for the caller's batch of runs (wine_stop ends it). The display comes first: a wineserver
# and prefix services started without one could not create windows for the rest of their life.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if [ -z "${DISPLAY:-}" ]; then
  . "$root/tools/xvfb.sh" || return 1
fi
export WINEPREFIX="$root/build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="   # no Mono/Gecko install prompts
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  echo "wine-env: creating the Wine prefix $WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi
wineserver -p >/dev/null 2>&1 || true
"$root/tools/wine-fonts.sh"
# The first program in a session starts the prefix's services, which inherit its output and outlive it;
# start them here with nowhere to write, or they would hold a test runner's output pipe open.
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
wine_stop() { wineserver -k >/dev/null 2>&1 || true; type xvfb_stop >/dev/null 2>&1 && xvfb_stop; }
