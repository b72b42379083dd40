# Sourced by the scripts that run Windows programs under Wine: a private copy of the prepared
# Wine prefix and a private X server, so they never touch a user's prefix or display.
#   lark_tools=<this folder>; . "$lark_tools/wine-session.sh"
#   wine_session <root> <name>
# <root> holds the prepared prefix (<root>/base, made when missing) and the session's folder
# (<root>/<name>.XXXXXX). Afterwards $work is that folder and $prefix the prefix copy; DISPLAY,
# WINEPREFIX, WINEDEBUG and WINEDLLOVERRIDES are exported. Both end, and the folder goes,
# when the calling script exits.

wine_session() {
    "$lark_tools/wine-prefix.sh" "$1/base" --no-window-manager || exit 1
    work=$(mktemp -d "$1/$2.XXXXXX")
    prefix=$work/prefix
    xvfb_pid=
    trap wine_session_end EXIT
    trap 'exit 130' INT TERM
    cp -a "$1/base" "$prefix"

    # A private X server for each session: focus and mouse tests must not meet each other.
    mkfifo "$work/displayfd"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/displayfd" >/dev/null 2>&1 &
    xvfb_pid=$!
    display=$(head -n 1 "$work/displayfd")
    if [ -z "$display" ]; then
        echo "$2: Xvfb did not start" >&2
        exit 1
    fi
    export DISPLAY=":$display" WINEPREFIX="$prefix" WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    # LARK_TEST_LOGPIXELS: the screen's resolution in this session (96 when unset), as the
    # display settings of Windows would make it.
    # A busy machine can make Wine fail a start: the value is tried a few times.
    if [ -n "${LARK_TEST_LOGPIXELS:-}" ]; then
        for attempt in 1 2 3 4; do
            wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
                /d "$LARK_TEST_LOGPIXELS" /f >"$work/reg.log" 2>&1 && break
            echo "$2: setting LogPixels failed (attempt $attempt, exit $?):" >&2
            cat "$work/reg.log" >&2
            if [ "$attempt" = 4 ]; then
                exit 1
            fi
        done
    fi
}

wine_session_end() {
    WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
