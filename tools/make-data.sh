#!/usr/bin/env bash
# Remakes the shipped prefix file and DXCC table from a "Big CTY" country file.
#   tools/make-data.sh [cty.csv]   (default: ../shared/data/cty.csv)
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cty="${1:-$top/../shared/data/cty.csv}"
build="$top/build/release"
[ -f "$build/CMakeCache.txt" ] || cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" --target ctygen -j"$(nproc)"
"$build/tools/ctygen" "$cty" "$top/data/arrlpre2.txt" "$top/data/ADIFCnt.txt"
