#!/bin/sh
# Prepares a Wine prefix once (shared by later copies); safe to call concurrently.
#   wine-prefix.sh <prefix-folder>
set -eu
prefix=$1
mkdir -p "$(dirname "$prefix")"
lock="$prefix.lock"
(
    flock 9
    if [ ! -f "$prefix/.lark-ready" ]; then
        echo "Creating the Wine prefix $prefix (once; Wine sets up its Windows folders and" \
            "registry, which takes a while) ..." >&2
        rm -rf "$prefix"
        export WINEPREFIX="$prefix" WINEDEBUG=-all
        export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
        wineboot -i >/dev/null 2>&1
        # A crashing program must end, not wait for someone to close a crash dialog.
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
            >/dev/null 2>&1
        wineserver -w
        touch "$prefix/.lark-ready"
        echo "Wine prefix ready." >&2
    fi
) 9>"$lock"
