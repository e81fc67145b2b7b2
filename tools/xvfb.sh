# Sourced by scripts that need a display: when DISPLAY is unset, starts a private Xvfb and exports DISPLAY;
# the server is stopped when the sourcing shell exits (xvfb_stop).
xvfb_pid=""
xvfb_stop() { [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; xvfb_pid=""; }
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 101 160); do
    [ -e "/tmp/.X${n}-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    if kill -0 "$xvfb_pid" 2>/dev/null; then export DISPLAY=":$n"; break; fi
    xvfb_pid=""
  done
  [ -n "${DISPLAY:-}" ] || { echo "xvfb.sh: could not start Xvfb" >&2; return 1; }
fi
