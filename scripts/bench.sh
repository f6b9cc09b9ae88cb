#!/usr/bin/env bash
# Builds the benchmarks and runs each under Wine on a private display; they print their figures.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/scripts/build.sh"
setup_and_build_win32 >/dev/null
. "$root/scripts/xvfb.sh"
start_private_xvfb
trap 'stop_wine_then_xvfb "$XVFB_PID"' EXIT
export WINEPREFIX="$build/win32/wineprefix"
bash "$root/scripts/wine-run.sh" --prefix "$WINEPREFIX" --init
exe="Z:$(echo "$build/win32/src/app/Ardentia.exe" | tr / '\\')"
for bench in "$build"/win32/bench/*.exe; do
  echo "== $(basename "$bench")"
  # app_bench also starts the real program, named as Windows sees it.
  ARDENTIA_WINE_TIMEOUT=600 bash "$root/scripts/wine-run.sh" --prefix "$WINEPREFIX" "$bench" "$exe"
done
