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
here=$(cd "$(dirname "$0")" && pwd)

"$here/wine-prefix.sh" "$root/base" || exit 1

work=$(mktemp -d "$root/run.XXXXXX")
prefix=$work/prefix
xvfb_pid=
cleanup() {
    WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

cp -a "$root/base" "$prefix"

# A private X server per test program: focus and mouse tests must not meet each other.
mkfifo "$work/displayfd"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/displayfd" >/dev/null 2>&1 &
xvfb_pid=$!
display=$(head -n 1 "$work/displayfd")
if [ -z "$display" ]; then
    echo "wine-test: Xvfb did not start" >&2
    exit 1
fi

export DISPLAY=":$display" WINEPREFIX="$prefix" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
wine "$exe" "$@"
