#!/bin/sh
# Installs what is missing, builds, lays out run/ (LarkB.exe and the files installed beside
# it) and starts the bar under Wine: on $DISPLAY when there is one, else on a private Xvfb.
set -eu
repo=$(cd "$(dirname "$0")/.." && pwd)
"$repo/tools/install-deps.sh"
"$repo/tools/build.sh"
build=${LARK_BUILD_DIR:-$repo/build}
run=$repo/run
mkdir -p "$run"
cp "$build/bin/LarkB.exe" "$run/"
# Language packs lie beside the program.
for f in "$build"/bin/LarkB.???; do
    [ -f "$f" ] && cp "$f" "$run/"
done
for f in "$repo"/data/*; do
    [ -f "$f" ] && cp "$f" "$run/"
done

export WINEPREFIX=${LARK_WINEPREFIX:-$run/wineprefix}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ -z "${DISPLAY:-}" ]; then
    display=99
    while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
        display=$((display + 1))
    done
    Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    trap 'kill $xvfb_pid 2>/dev/null' EXIT
    export DISPLAY=":$display"
    sleep 1
    echo "No DISPLAY was set: the bar runs on a private Xvfb at $DISPLAY."
    echo "Take a screenshot from another shell with:"
    echo "  xwd -root -display $DISPLAY | convert xwd:- larkrunbar.png"
fi
"$repo/tools/wine-prefix.sh" "$WINEPREFIX"
echo "Starting larkRunBar (Wine prefix $WINEPREFIX); end it with its Exit button or Ctrl+C."
cd "$run"
wine "$run/LarkB.exe"
