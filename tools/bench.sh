#!/bin/sh
# Builds and runs every benchmark under Wine, printing their figures.
#   bench.sh [name-filter]
set -eu
repo=$(cd "$(dirname "$0")/.." && pwd)
"$repo/tools/build.sh" >/dev/null
build=${LARK_BUILD_DIR:-$repo/build}
for exe in "$build"/bin/bench_*${1:-}*.exe; do
    [ -f "$exe" ] || continue
    echo "== $(basename "$exe" .exe)"
    "$repo/tools/wine-run.sh" "$exe"
done
