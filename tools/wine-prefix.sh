#!/bin/sh
# Prepares a Wine prefix once (shared by later copies); safe to call concurrently.
#   wine-prefix.sh <prefix-folder> [--no-window-manager]
# --no-window-manager: for the private displays of the tests, where no window manager runs.
set -eu
prefix=$1
nowm=${2:-}
ready=.lark-ready
[ "$nowm" = --no-window-manager ] && ready=.lark-ready-nowm
mkdir -p "$(dirname "$prefix")"
lock="$prefix.lock"
(
    flock 9
    if [ ! -f "$prefix/$ready" ]; then
        echo "Creating the Wine prefix $prefix (once; Wine sets up its Windows folders and" \
            "registry, which takes a while) ..." >&2
        rm -rf "$prefix"
        export WINEPREFIX="$prefix" WINEDEBUG=-all
        export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
        wineboot -i >/dev/null 2>&1
        # A crashing program must end, not wait for someone to close a crash dialog.
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
            >/dev/null 2>&1
        # Without a window manager, every hidden or destroyed window that Wine lets a manager
        # handle waits two seconds for it in vain: Wine manages no window there.
        if [ -n "$nowm" ]; then
            wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
                >/dev/null 2>&1
        fi
        wineserver -w
        touch "$prefix/$ready"
        echo "Wine prefix ready." >&2
    fi
) 9>"$lock"
