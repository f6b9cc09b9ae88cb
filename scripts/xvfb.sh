# Sourced by the scripts: start_private_xvfb starts Xvfb on a free display, exports DISPLAY and sets
# XVFB_PID. Xvfb gets its own session, so a signal to the caller's process group (timeout sends one)
# cannot take the display away before Wine has shut down.
start_private_xvfb() {
  local numfile
  numfile="$(mktemp)"
  setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numfile" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 100); do [ -s "$numfile" ] && break; sleep 0.05; done
  if [ ! -s "$numfile" ]; then
    echo "Xvfb did not start" >&2
    rm -f "$numfile"
    return 1
  fi
  export DISPLAY=":$(head -n 1 "$numfile")"
  rm -f "$numfile"
}

# Stops Wine in $WINEPREFIX first (it needs the display to shut down cleanly), then the Xvfb whose PID is
# given, if any.
stop_wine_then_xvfb() {
  timeout 15 wineserver -k >/dev/null 2>&1 || true  # callers may run under set -e
  [ -n "${1:-}" ] && kill "$1" 2>/dev/null
  return 0
}
