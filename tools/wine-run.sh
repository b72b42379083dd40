#!/bin/sh
# Runs one Windows program under Wine, in a private copy of a prepared Wine prefix and on a
# private X server, so tests never touch a user's prefix or display.
#   wine-run.sh <program.exe> [arguments...]
# LARK_TEST_ROOT     where the prepared prefix and the copies live (default: <build>/wine-test)
set -u
exe=$1
shift
bindir=$(cd "$(dirname "$exe")" && pwd)
root=${LARK_TEST_ROOT:-$(dirname "$bindir")/wine-test}
mkdir -p "$root"
root=$(cd "$root" && pwd)
lark_tools=$(cd "$(dirname "$0")" && pwd)
. "$lark_tools/wine-session.sh"
wine_session "$root" run
wine "$exe" "$@"
