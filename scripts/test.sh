#!/usr/bin/env bash
# Sets up the machine, builds natively and for 64-bit and 32-bit Windows, and runs every test: the Windows
# tests of the 64-bit build always, those of the 32-bit build where this machine executes 32-bit code.
# ARDENTIA_BUILD picks another build folder; CTEST_ARGS narrows the tests (e.g. "-R units");
# ARDENTIA_FUZZ_SECONDS sets how long each fuzz target runs (default 30); ARDENTIA_64BIT_ONLY=1 runs the
# 64-bit Windows tests only, as on a machine that cannot execute 32-bit code.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs="$(nproc)"
. "$root/scripts/build.sh"

set -e
for arch in win64 win32; do setup_and_build_windows "$arch"; done
pack_portable_zip
cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build/native" -j "$jobs"
set +e

read -r -a test_arches <<<"$(windows_arches)"

# One private display for all Wine tests, so Wine and xclip share one X clipboard; a prefix per build.
. "$root/scripts/xvfb.sh"
XVFB_PID=""
stop_all() {
  for arch in "${test_arches[@]}"; do WINEPREFIX="$build/$arch/wineprefix" timeout 15 wineserver -k >/dev/null 2>&1; done
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
  return 0
}
trap stop_all EXIT
trap 'exit 143' TERM INT HUP
start_private_xvfb || exit 1

log="$(mktemp)"
echo "== native tests"
ctest --test-dir "$build/native" --output-on-failure -j "$jobs" ${CTEST_ARGS:-} | tee "$log"
native_rc=${PIPESTATUS[0]}
win_rc=0
for arch in "${test_arches[@]}"; do
  echo "== Windows tests under Wine: $arch"
  if ! bash "$root/scripts/wine-run.sh" --prefix "$build/$arch/wineprefix" --arch "$arch" --init; then
    echo "the $arch Wine prefix could not be set up" >&2
    win_rc=1
    continue
  fi
  WINEPREFIX="$build/$arch/wineprefix" ctest --test-dir "$build/$arch" --output-on-failure ${CTEST_ARGS:-} | tee -a "$log"
  [ "${PIPESTATUS[0]}" = 0 ] || win_rc=1
done
# The long history's figures at a size CI has time for (more clips than one block of the index); the 100,000-clip
# figures come from scripts/bench.sh. Printed, not judged: a figure is no test.
echo "== the long history's benchmark at 3,000 clips, 64-bit"
ARDENTIA_WINE_TIMEOUT=600 bash "$root/scripts/wine-run.sh" --prefix "$build/win64/wineprefix" --arch win64 \
  "$build/win64/bench/history_bench.exe" 3000 500 2>/dev/null || echo "the benchmark did not finish"
skipped=""
if [ "${#test_arches[@]}" = 1 ]; then
  if [ "${ARDENTIA_64BIT_ONLY:-0}" = 1 ]; then
    skipped="32-bit Windows tests: skipped, ARDENTIA_64BIT_ONLY=1"
  else
    skipped="32-bit Windows tests: skipped, this machine cannot execute 32-bit code"
  fi
fi

echo "== fuzzing"
bash "$root/scripts/fuzz.sh"
fuzz_rc=$?

# One closing line for every suite that ran: ctest prints "N% tests passed, F tests failed out of T" for each.
read -r passed failed < <(sed -nE 's/.*tests passed, ([0-9]+) tests? failed out of ([0-9]+).*/\1 \2/p' "$log" |
  awk '{ f += $1; p += $2 - $1 } END { print p + 0, f + 0 }')
rm -f "$log"
echo
[ -n "$skipped" ] && echo "$skipped"
[ "$fuzz_rc" = 0 ] && echo "fuzzing: no findings" || echo "fuzzing: FAILED"
echo "${passed} passed, ${failed} failed"
[ "$native_rc" = 0 ] && [ "$win_rc" = 0 ] && [ "$fuzz_rc" = 0 ]
