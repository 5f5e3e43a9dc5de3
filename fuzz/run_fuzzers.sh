#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs each for a bounded time on its corpus.
# A crash, a sanitizer report or a broken formatting promise fails the run;
# the input that caused it is left in the build folder as crash-*.
#
#   fuzz/run_fuzzers.sh [SECONDS_PER_TARGET] [BUILD_FOLDER]
set -euo pipefail

cd "$(dirname "$0")/.."
seconds=${1:-60}
build=${2:-build-fuzz}

cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DVEMRA_BUILD_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$build" -j2 --target fuzz_format fuzz_tokenizer fuzz_conversions fuzz_cutter

for target in format tokenizer conversions cutter; do
  # New inputs go to a scratch folder; the committed corpus is only read.
  scratch="$build/corpus-$target"
  mkdir -p "$scratch"
  echo "fuzz_$target: $seconds s"
  log="$build/fuzz-$target.log"
  status=0
  seeds=("fuzz/corpus/$target")
  # The cutter reads the tokenizer's inputs too, behind a first byte that
  # chooses how it walks them.
  if [ "$target" = cutter ]; then seeds+=(fuzz/corpus/tokenizer); fi
  dictionary=()
  if [ -f "fuzz/$target.dict" ]; then dictionary=(-dict="fuzz/$target.dict"); fi
  "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=16384 -timeout=30 \
    -rss_limit_mb=4096 -print_final_stats=1 -artifact_prefix="$build/crash-$target-" \
    "${dictionary[@]}" \
    "$scratch" "${seeds[@]}" > "$log" 2>&1 || status=$?
  grep -E '^(stat::number_of_executed_units|Done )' "$log" || true
  if [ "$status" -ne 0 ]; then
    tail -n 40 "$log" >&2
    echo "fuzz_$target failed (status $status); the input is in $build/crash-$target-*" >&2
    exit 1
  fi
done
