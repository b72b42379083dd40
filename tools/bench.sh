#!/bin/sh
# Builds and runs every benchmark under Wine, printing their figures, then the figures that
# have targets as one table, each beside its baseline from the same run.
#   bench.sh [name-filter]
set -eu
repo=$(cd "$(dirname "$0")/.." && pwd)
"$repo/tools/build.sh" >/dev/null
build=${LARK_BUILD_DIR:-$repo/build}
rows=$(mktemp)
trap 'rm -f "$rows"' EXIT
for exe in "$build"/bin/bench_*${1:-}*.exe; do
    [ -f "$exe" ] || continue
    echo "== $(basename "$exe" .exe)"
    "$repo/tools/wine-run.sh" "$exe" | tee -a "$rows"
done
echo "== the figures against their targets"
# Benchmarks print "row | figure | size | measured | baseline | target | verdict".
{
    echo "row | figure | buttons | measured | baseline (same run) | target | verdict"
    grep '^row | ' "$rows" || true
} | awk -F' [|] ' '
    { n = NR; for (i = 2; i <= NF; ++i) { cell[n, i] = $i; if (length($i) > w[i]) w[i] = length($i) }
      if (NF > cols) cols = NF }
    END { for (r = 1; r <= n; ++r) { line = ""
            for (i = 2; i <= cols; ++i) line = line (i < cols ? sprintf("%-*s | ", w[i], cell[r, i]) : cell[r, i])
            print line } }'
