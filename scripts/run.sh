#!/usr/bin/env bash
# Sets up, builds a Release TenLog and starts it in a working folder
# (default ~/TenLog, created on first use; the program seeds it with its
# starting files). Usage: scripts/run.sh [working-folder]
# Options (--help, --version, --desktop) go to the program as they are.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$top/scripts/deps.sh"

build="$top/build/release"
# A compiler cache, when the machine has one, makes a rebuild after a fresh
# clone or a branch switch cheap.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# Paths inside the checkout count relative to it, so clones in other
# folders share the cache.
export CCACHE_BASEDIR="$top"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release "${launcher[@]}"
fi
# The logger and the benchmark programs; the test suite is built by scripts/test.sh.
cmake --build "$build" -j"$(nproc)" --target tenlog tenlog_bench tenlog_bench_window

case "${1:-}" in
  -*) exec "$build/src/tenlog" "$@" ;;
esac
work="${1:-$HOME/TenLog}"
mkdir -p "$work"
cd "$work"
exec "$build/src/tenlog"
