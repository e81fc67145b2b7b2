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
    [ -e "/tmp/.X${n}-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    if kill -0 "$xvfb_pid" 2>/dev/null && xdpyinfo -display ":$n" >/dev/null 2>&1; then
      export DISPLAY=":$n"
      break
    fi
    kill "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
  done
  [ -n "${DISPLAY:-}" ] || { echo "xvfb.sh: could not start Xvfb" >&2; return 1; }
fi
