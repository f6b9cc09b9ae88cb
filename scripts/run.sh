#!/usr/bin/env bash
# Sets up the machine, builds the 64-bit Ardentia.exe and starts it under 64-bit Wine on $DISPLAY,
# or on a private Xvfb when there is none. Ctrl-C (or a timeout) stops Wine and the display.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/scripts/build.sh"
setup_and_build_windows win64 Ardentia
if [ -z "${DISPLAY:-}" ]; then
  . "$root/scripts/xvfb.sh"
  start_private_xvfb
  trap 'kill "$XVFB_PID" 2>/dev/null' EXIT
  echo "Ardentia runs on the private display $DISPLAY."
  echo "  Screenshot:  DISPLAY=$DISPLAY import -window root shot.png"
  echo "  Copy a text: echo hello | DISPLAY=$DISPLAY xclip -selection clipboard"
fi
# In the background, so that a signal reaches our traps at once; wine-run.sh stops Wine when it ends.
ARDENTIA_WINE_TIMEOUT="${ARDENTIA_RUN_SECONDS:-2147483}" \
  bash "$root/scripts/wine-run.sh" --prefix "$build/win64/wineprefix" --arch win64 "$build/win64/src/app/Ardentia.exe" &
app=$!
trap 'kill "$app" 2>/dev/null; wait "$app" 2>/dev/null' TERM INT HUP
wait "$app"
