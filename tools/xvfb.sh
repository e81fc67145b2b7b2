# Sourced by scripts that need a display, before anything of Wine starts (a wineserver started without a
# display can never create windows later). With DISPLAY set, checks that it answers; without, starts a
# private Xvfb and exports DISPLAY. xvfb_stop ends a server started here. Returns non-zero when no display
# can be had.
xvfb_pid=""
xvfb_stop() { [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; xvfb_pid=""; }
if [ -n "${DISPLAY:-}" ]; then
  if ! xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
    echo "xvfb.sh: the display $DISPLAY does not answer; start its X server, or unset DISPLAY to use a virtual one" >&2
    return 1
  fi
else
  for n in $(seq 101 160); do
    # A lock whose server has gone (a run killed before it could stop its server) is stale: Xvfb takes
    # the number over. Skipping those too let such leftovers use up every number.
    if [ -e "/tmp/.X${n}-lock" ]; then
      kill -0 "$(tr -d ' ' <"/tmp/.X${n}-lock" 2>/dev/null)" 2>/dev/null && continue
    fi
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    # A stale socket may already be there: wait for the server itself to answer.
    for _ in $(seq 50); do
      kill -0 "$xvfb_pid" 2>/dev/null || break
      if xdpyinfo -display ":$n" >/dev/null 2>&1; then
        export DISPLAY=":$n"
        break 2
      fi
      sleep 0.1
    done
    kill "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
  done
  [ -n "${DISPLAY:-}" ] || { echo "xvfb.sh: could not start Xvfb" >&2; return 1; }
fi
