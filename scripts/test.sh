#!/usr/bin/env bash
# Sets up the machine, builds natively and for Windows, and runs every test.
# ARDENTIA_BUILD picks another build folder; CTEST_ARGS narrows the tests (e.g. "-R units").
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh" || exit 1
jobs="$(nproc)"
build="${ARDENTIA_BUILD:-$root/build}"

set -e
cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build/native" -j "$jobs"
cmake -S "$root" -B "$build/win32" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$build/win32" -j "$jobs"
set +e

# One private display and one prefix for all Wine tests, so Wine and xclip share one X clipboard.
numfile="$(mktemp)"
setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numfile" >/dev/null 2>&1 &
xvfb_pid=$!
export WINEPREFIX="$build/win32/wineprefix"
cleanup() {
  timeout 15 wineserver -k >/dev/null 2>&1
  kill "$xvfb_pid" 2>/dev/null
  rm -f "$numfile"
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP
for _ in $(seq 100); do [ -s "$numfile" ] && break; sleep 0.05; done
[ -s "$numfile" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$numfile")"
bash "$root/scripts/wine-run.sh" --init || { echo "the Wine prefix could not be set up" >&2; exit 1; }

log="$(mktemp)"
echo "== native tests"
ctest --test-dir "$build/native" --output-on-failure -j "$jobs" ${CTEST_ARGS:-} | tee "$log"
native_rc=${PIPESTATUS[0]}
echo "== Windows tests under Wine"
ctest --test-dir "$build/win32" --output-on-failure ${CTEST_ARGS:-} | tee -a "$log"
win_rc=${PIPESTATUS[0]}

# One closing line for both suites: ctest prints "N% tests passed, F tests failed out of T" for each.
read -r passed failed < <(sed -nE 's/.*tests passed, ([0-9]+) tests? failed out of ([0-9]+).*/\1 \2/p' "$log" |
  awk '{ f += $1; p += $2 - $1 } END { print p + 0, f + 0 }')
rm -f "$log"
echo
echo "${passed} passed, ${failed} failed"
[ "$native_rc" = 0 ] && [ "$win_rc" = 0 ]
