#!/usr/bin/env bash
# Builds every libFuzzer target (fuzz_*) with clang in build/fuzz and runs each
# for the given number of inputs (default 1,000,000), at most
# TENLOG_FUZZ_SECONDS (default 600) seconds each. Exits non-zero if any target
# finds a crash; the crashing input is left in build/fuzz/artifacts/.
#   usage: scripts/fuzz.sh [runs]
set -euo pipefail

runs="${1:-1000000}"
seconds="${TENLOG_FUZZ_SECONDS:-600}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build/fuzz"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTENLOG_FUZZ=ON -DTENLOG_BUILD_BENCH=OFF
cmake --build "$build" --target tenlog_fuzzers -j2

mkdir -p "$build/artifacts"
failed=0
while IFS= read -r program; do
  [ -n "$program" ] || continue
  name="$(basename "$program")"
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  echo "== $name: $runs runs, at most $seconds s"
  if ! "$program" "$corpus" -runs="$runs" -max_total_time="$seconds" \
       -artifact_prefix="$build/artifacts/$name-" -print_final_stats=1; then
    echo "== $name FAILED" >&2
    failed=1
  fi
done < "$build/fuzz_targets.txt"
exit "$failed"
