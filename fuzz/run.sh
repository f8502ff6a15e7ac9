#!/usr/bin/env bash
# Builds the fuzz targets (preset `fuzz`: clang, libFuzzer, ASan, UBSan) and runs each of them:
# first over its seed corpus in fuzz/corpus/<target>, then fuzzing for SECONDS (default 20) per target.
#
#   fuzz/run.sh [SECONDS]
#
# New inputs go to build/fuzz/corpus/<target> (kept between runs, so longer runs build on shorter ones);
# the seed corpus in the source tree is never changed. A crash, a sanitizer report, a failed check or an
# input that takes more than 2 seconds (every target handles one in milliseconds) stops the script with the
# input that caused it in build/fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."

SECONDS_PER_TARGET=${1:-20}
TARGETS=(fuzz_read_count fuzz_numbers fuzz_placement fuzz_plain_line fuzz_marks fuzz_baseline fuzz_takeoff_rules)
BUILD=build/fuzz

cmake --preset fuzz >/dev/null
cmake --build "$BUILD" -j2 --target "${TARGETS[@]}"

mkdir -p "$BUILD/artifacts"
export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
for target in "${TARGETS[@]}"; do
  seeds=fuzz/corpus/$target
  # The marks take exchange files as the count does: they start from the count's seeds.
  [ "$target" = fuzz_marks ] && seeds=fuzz/corpus/fuzz_read_count
  work=$BUILD/corpus/$target
  mkdir -p "$work"
  log=$BUILD/$target.log
  # The seeds once each, as a regression test of every input that was ever interesting.
  nice -n 10 "$BUILD/fuzz/$target" -runs=0 -artifact_prefix="$BUILD/artifacts/$target-" "$seeds" >"$log" 2>&1 ||
    { cat "$log"; echo "fuzz: $target failed on its seed corpus" >&2; exit 1; }
  # Then bounded fuzzing, one job, starting from the seeds and what earlier runs found.
  nice -n 10 "$BUILD/fuzz/$target" -max_total_time="$SECONDS_PER_TARGET" -timeout=2 \
    -print_final_stats=1 -artifact_prefix="$BUILD/artifacts/$target-" "$work" "$seeds" >"$log" 2>&1 ||
    { tail -n 60 "$log"; echo "fuzz: $target found a failure (input in $BUILD/artifacts/)" >&2; exit 1; }
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  echo "fuzz: $target: ${runs:-?} executions in ${SECONDS_PER_TARGET} s, no failure"
done
