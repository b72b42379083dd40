#!/bin/sh
# Runs one GoogleTest program under Wine (see wine-run.sh) and keeps its XML report.
#   wine-test.sh <program.exe> [arguments...]
# LARK_TEST_RESULTS  folder for the reports (default: <build>/wine-test/results)
# LARK_TEST_NAME     name of the report (default: the program's name)
set -u
exe=$1
shift
bindir=$(cd "$(dirname "$exe")" && pwd)
results=${LARK_TEST_RESULTS:-${LARK_TEST_ROOT:-$(dirname "$bindir")/wine-test}/results}
mkdir -p "$results"
results=$(cd "$results" && pwd)
name=${LARK_TEST_NAME:-$(basename "$exe" .exe)}
rm -f "$results/$name.xml"
exec "$(dirname "$0")/wine-run.sh" "$exe" "--gtest_output=xml:Z:$results/$name.xml" "$@"
