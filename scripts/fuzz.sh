#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with clang (build-fuzz/) and runs each for a
# while from its seed corpus; stops at the first crash, leak or broken property.
# Usage: scripts/fuzz.sh [SECONDS_PER_TARGET]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DYOMORISU_FUZZ=ON -DBUILD_TESTING=OFF \
  -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
targets=$(cd fuzz && ls fuzz_*.cpp | sed 's/\.cpp$//')
# shellcheck disable=SC2086
cmake --build build-fuzz -j"$(nproc)" --target $targets
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1
for target in $targets; do
  seeds="fuzz/corpus/${target#fuzz_}"
  work=$(mktemp -d)
  echo "== $target: ${seconds}s from $seeds"
  status=0
  build-fuzz/fuzz/"$target" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="build-fuzz/$target-" \
    "$work" "$seeds" >"$work.log" 2>&1 || status=$?
  grep -E "^(Done|stat::number_of_executed_units|==|SUMMARY|property failed)" "$work.log" || true
  rm -rf "$work" "$work.log"
  if [ "$status" -ne 0 ]; then
    echo "$target failed (status $status); the input is saved as build-fuzz/$target-*" >&2
    exit 1
  fi
done
echo "fuzzing: every target ran clean"
