#!/bin/sh
# Configures (once) and builds larkRunBar and its tests into build/.
set -eu
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${LARK_BUILD_DIR:-$repo/build}
# A compiler cache, when the machine has one, makes rebuilds of other checkouts cheap.
launcher=
if command -v ccache >/dev/null 2>&1; then
    launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache"
    export CCACHE_BASEDIR="$repo"
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
    # shellcheck disable=SC2086
    cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release $launcher \
        -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake"
fi
cmake --build "$build" -j "$(nproc)"
