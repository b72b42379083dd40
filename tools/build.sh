#!/bin/sh
# Configures (once) and builds larkRunBar and its tests into build/.
set -eu
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${LARK_BUILD_DIR:-$repo/build}
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake"
fi
cmake --build "$build" -j "$(nproc)"
