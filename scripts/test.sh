#!/usr/bin/env bash
# Sets up, builds the whole test suite with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test with ctest on the offscreen
# platform. Exits non-zero on any failure.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$top/scripts/deps.sh"

build="$top/build/asan"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DTENLOG_SANITIZE=ON
fi
cmake --build "$build" -j"$(nproc)"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd "$build"
ctest --output-on-failure -j"$(nproc)" --timeout 300
