#!/usr/bin/env bash
# Builds every libFuzzer target (fuzz_*) with clang in build/fuzz and runs each
# for the given number of inputs (default 1,000,000), at most
# TENLOG_FUZZ_SECONDS (default 600) seconds each. A second argument, a pattern
# (grep -E), runs only the targets whose names match it. Exits non-zero if any
# target finds a crash; the crashing input is left in build/fuzz/artifacts/.
# A target's starting inputs in tests/fuzz/seeds/<target>/ are read along with
# the corpus it has grown in build/fuzz/corpus/<target>/.
#   usage: scripts/fuzz.sh [runs [pattern]]
set -euo pipefail

runs="${1:-1000000}"
pattern="${2:-.}"
seconds="${TENLOG_FUZZ_SECONDS:-600}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build/fuzz"

# clang and its libFuzzer runtime, beside what every build needs.
"$root/scripts/deps.sh" clang libclang-rt-14-dev

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CC=clang CXX=clang++ cmake -S "$root" -B "$build" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTENLOG_FUZZ=ON -DTENLOG_BUILD_BENCH=OFF "${launcher[@]}"
cmake --build "$build" --target tenlog_fuzzers -j2

mkdir -p "$build/artifacts"
failed=0
ran=0
while IFS= read -r program; do
  [ -n "$program" ] || continue
  name="$(basename "$program")"
  echo "$name" | grep -Eq -- "$pattern" || continue
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  inputs=("$corpus")
  [ -d "$root/tests/fuzz/seeds/$name" ] && inputs+=("$root/tests/fuzz/seeds/$name")
  echo "== $name: $runs runs, at most $seconds s"
  ran=$((ran + 1))
  if ! "$program" "${inputs[@]}" -runs="$runs" -max_total_time="$seconds" \
       -artifact_prefix="$build/artifacts/$name-" -print_final_stats=1; then
    echo "== $name FAILED" >&2
    failed=1
  fi
done < "$build/fuzz_targets.txt"
if [ "$ran" -eq 0 ]; then
  echo "no fuzz target matches \"$pattern\"" >&2
  exit 1
fi
exit "$failed"
