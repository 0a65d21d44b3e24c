#!/usr/bin/env bash
# Sets up, builds the whole test suite with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test with ctest on the offscreen
# platform. Exits non-zero on any failure.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$top/scripts/deps.sh"

build="$top/build/asan"
# A compiler cache, when the machine has one, makes a rebuild after a fresh
# clone or a branch switch cheap.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# Paths inside the checkout count relative to it, so clones in other
# folders share the cache.
export CCACHE_BASEDIR="$top"
# A debug build names its folder in the debug information, which would make
# ccache tell a clone in another folder from this one; the tests do not need
# the folder right there.
export CCACHE_NOHASHDIR=1
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DTENLOG_SANITIZE=ON "${launcher[@]}"
fi
cmake --build "$build" -j"$(nproc)"

export QT_QPA_PLATFORM=offscreen

# A private sound server with a null output: the audio tests then play their
# sounds for real instead of finding no device. It is stopped by its own
# process id when the run ends.
if command -v pulseaudio >/dev/null; then
  XDG_RUNTIME_DIR="$(mktemp -d)"
  export XDG_RUNTIME_DIR
  if pulseaudio -n --daemonize=yes --exit-idle-time=-1 --use-pid-file=yes \
      --load="module-null-sink sink_name=tenlog_test_output" --load=module-native-protocol-unix \
      --log-target=file:"$XDG_RUNTIME_DIR/pulse.log" 2>/dev/null; then
    trap 'kill "$(cat "$XDG_RUNTIME_DIR/pulse/pid" 2>/dev/null)" 2>/dev/null; rm -rf "$XDG_RUNTIME_DIR"' EXIT
  else
    echo "No sound server could start: the audio tests run without an output device."
  fi
fi
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd "$build"
ctest --output-on-failure -j"$(nproc)" --timeout 300
