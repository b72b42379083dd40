#!/bin/sh
# Installs what building and running larkRunBar needs on Debian 12; does nothing when all is
# there. Needs root (or sudo).
set -eu
packages="cmake make g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-tools
googletest wine wine64 xvfb xauth x11-apps imagemagick nsis zip unzip"
missing=
for p in $packages; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing="$missing $p"
    fi
done
if [ -n "$missing" ]; then
    SUDO=
    [ "$(id -u)" -ne 0 ] && SUDO=sudo
    echo "Installing:$missing"
    $SUDO apt-get update -q
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends $missing
fi
