#!/usr/bin/env bash
# Sets up the machine, builds natively and for Windows, and runs every test.
# ARDENTIA_BUILD picks another build folder; CTEST_ARGS narrows the tests (e.g. "-R units");
# ARDENTIA_FUZZ_SECONDS sets how long each fuzz target runs (default 30).
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs="$(nproc)"
. "$root/scripts/build.sh"

set -e
setup_and_build_win32
cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build/native" -j "$jobs"
set +e

# One private display and one prefix for all Wine tests, so Wine and xclip share one X clipboard.
. "$root/scripts/xvfb.sh"
XVFB_PID=""
export WINEPREFIX="$build/win32/wineprefix"
trap 'stop_wine_then_xvfb "$XVFB_PID"' EXIT
trap 'exit 143' TERM INT HUP
start_private_xvfb || exit 1
bash "$root/scripts/wine-run.sh" --init || { echo "the Wine prefix could not be set up" >&2; exit 1; }

log="$(mktemp)"
echo "== native tests"
ctest --test-dir "$build/native" --output-on-failure -j "$jobs" ${CTEST_ARGS:-} | tee "$log"
native_rc=${PIPESTATUS[0]}
echo "== Windows tests under Wine"
ctest --test-dir "$build/win32" --output-on-failure ${CTEST_ARGS:-} | tee -a "$log"
win_rc=${PIPESTATUS[0]}

echo "== fuzzing"
bash "$root/scripts/fuzz.sh"
fuzz_rc=$?

# One closing line for both suites: ctest prints "N% tests passed, F tests failed out of T" for each.
read -r passed failed < <(sed -nE 's/.*tests passed, ([0-9]+) tests? failed out of ([0-9]+).*/\1 \2/p' "$log" |
  awk '{ f += $1; p += $2 - $1 } END { print p + 0, f + 0 }')
rm -f "$log"
echo
[ "$fuzz_rc" = 0 ] && echo "fuzzing: no findings" || echo "fuzzing: FAILED"
echo "${passed} passed, ${failed} failed"
[ "$native_rc" = 0 ] && [ "$win_rc" = 0 ] && [ "$fuzz_rc" = 0 ]
