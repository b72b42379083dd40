#!/bin/sh
# Installs what is missing, builds the program (not the tests), lays out run/ (LarkB.exe and
# the files the build puts beside it) and starts the bar under Wine: on $DISPLAY when there
# is one, else on a private Xvfb. Returns when the bar ends.
#   run-bar.sh [--single-byte]
# --single-byte: the single-byte edition instead, built in <build>/single-byte and laid out in
# run/single-byte (the same Wine prefix, its own data file).
# Run it as yourself or as root: sudo is used only to install packages, and only when not root.
set -eu
repo=$(cd "$(dirname "$0")/.." && pwd)
"$repo/tools/install-deps.sh"
build=${LARK_BUILD_DIR:-$repo/build}
run=$repo/run
options=
data_file=LarkB_U.tdb
if [ "${1:-}" = --single-byte ]; then
    # Configured the way tools/run-tests.sh configures it.
    build=$build/single-byte
    run=$repo/run/single-byte
    options="-DLARK_SINGLE_BYTE=ON -DLARK_BUILD_TESTS=ON -DLARK_BUILD_BENCH=OFF"
    data_file=LarkB.tdb
fi

# Configured the way tools/build.sh configures, so both share one build folder.
if [ ! -f "$build/CMakeCache.txt" ]; then
    launcher=
    if command -v ccache >/dev/null 2>&1; then
        launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache"
        export CCACHE_BASEDIR="$repo"
    fi
    # shellcheck disable=SC2086
    cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release $options $launcher \
        -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake"
fi
echo "Building LarkB.exe ..."
cmake --build "$build" -j "$(nproc)" --target LarkB

mkdir -p "$run"
# The program and what the build installs beside it (template, icon library, language packs).
for f in "$build"/bin/[Ll]ark[Bb]*; do
    case $f in
    *.exe) [ "$(basename "$f")" = LarkB.exe ] || continue ;;
    esac
    [ -f "$f" ] && cp "$f" "$run/"
done

export WINEPREFIX=${LARK_WINEPREFIX:-$repo/run/wineprefix}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
own_display=
if [ -z "${DISPLAY:-}" ]; then
    own_display=1
    fifo=$(mktemp -u "${TMPDIR:-/tmp}/lark-display.XXXXXX")
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    xvfb_pid=$!
    trap 'kill $xvfb_pid 2>/dev/null; rm -f "$fifo"' EXIT
    trap 'exit 130' INT TERM
    display=$(head -n 1 "$fifo")
    if [ -z "$display" ]; then
        echo "run-bar: Xvfb did not start" >&2
        exit 1
    fi
    export DISPLAY=":$display"
    echo "No DISPLAY was set: the bar runs on a private Xvfb at $DISPLAY."
    echo "Take a screenshot from another shell with:"
    echo "  import -window root -display $DISPLAY larkrunbar.png"
fi
"$repo/tools/wine-prefix.sh" "$WINEPREFIX"
# Wine leaves its windows to a window manager, and on our own Xvfb none runs: every window
# hidden or destroyed (each dialog closed, Exit) would wait two seconds for it in vain. There
# Wine is told to manage none; back on a display of the user's, Wine's default returns.
x11_key='HKCU\Software\Wine\X11 Driver'
unmanaged=$WINEPREFIX/.lark-unmanaged
if [ -n "$own_display" ] && [ ! -f "$unmanaged" ]; then
    wine reg add "$x11_key" /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 && touch "$unmanaged"
elif [ -z "$own_display" ] && [ -f "$unmanaged" ]; then
    wine reg delete "$x11_key" /v Managed /f >/dev/null 2>&1 && rm -f "$unmanaged"
fi
user=$(id -un)
echo "Data file: $WINEPREFIX/drive_c/users/$user/AppData/Roaming/Tarvo/LarkRunBar/$data_file"
printf 'Settings:  HKEY_CURRENT_USER\\Software\\Tarvo\\Lark-RunBar, in %s/user.reg\n' "$WINEPREFIX"
echo "Starting larkRunBar; this terminal is held until the bar ends (its Exit button, or Ctrl+C)."
cd "$run"
wine "$run/LarkB.exe"
