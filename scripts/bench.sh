#!/usr/bin/env bash
# Builds the 64-bit benchmarks and runs each under 64-bit Wine on a private display; they print their figures.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/scripts/build.sh"
setup_and_build_windows win64 >/dev/null
echo "64-bit build, $(/usr/lib/wine/wine64 --version)"
. "$root/scripts/xvfb.sh"
start_private_xvfb
trap 'stop_wine_then_xvfb "$XVFB_PID"' EXIT
export WINEPREFIX="$build/win64/wineprefix"
bash "$root/scripts/wine-run.sh" --prefix "$WINEPREFIX" --arch win64 --init
exe="Z:$(echo "$build/win64/src/app/Ardentia.exe" | tr / '\\')"
for bench in "$build"/win64/bench/*_bench.exe; do
  echo "== $(basename "$bench")"
  # app_bench also starts the real program, named as Windows sees it.
  args=()
  [[ "$(basename "$bench")" == app_bench.exe ]] && args=("$exe")
  # A hundred thousand files take Wine a while to write and to delete.
  ARDENTIA_WINE_TIMEOUT=3600 bash "$root/scripts/wine-run.sh" --prefix "$WINEPREFIX" --arch win64 "$bench" "${args[@]}"
done
