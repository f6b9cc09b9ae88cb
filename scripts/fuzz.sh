#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time on a copy of its corpus in
# the repository (fuzz/corpus/<target>). ARDENTIA_FUZZ_SECONDS sets the time per target (default 30).
# New findings that grow coverage stay in the copy; a crash fails the run and leaves its input in build/fuzz.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${ARDENTIA_BUILD:-$root/build}/fuzz"
seconds="${ARDENTIA_FUZZ_SECONDS:-30}"
bash "$root/scripts/setup.sh"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DARDENTIA_FUZZ=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target fuzz_clip_text fuzz_property_bag fuzz_clip_file fuzz_sealed_clip_file fuzz_history_folder >/dev/null
for target in clip_text property_bag clip_file sealed_clip_file history_folder; do
  corpus="$build/corpus-$target"
  rm -rf "$corpus" && mkdir -p "$corpus" && cp "$root/fuzz/corpus/$target/"* "$corpus/"
  echo "== fuzz_$target for ${seconds} s"
  if ! (cd "$build" && "./fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=65536 -print_final_stats=1 \
          "$corpus" 2>&1 | grep -E '^(stat::number_of_executed_runs|stat::new_units_added|==[0-9]+==ERROR|SUMMARY)'); then
    echo "fuzz_$target failed"
    exit 1
  fi
done
