#!/bin/sh
# Tests the artefacts tools/package.sh makes, under Wine, in a private copy of the prepared
# prefix and on a private Xvfb: for each edition a silent installation (files, Start-menu
# shortcut, uninstaller entry, no log-on start), the installed bar starting, a silent removal
# (program files gone, the user's data file kept); and the portable zips' bars starting from
# a folder whose path has spaces and non-ASCII characters, each first run saving its data
# file and its settings there, beside the program, and nothing in the profile.
#   test_package.sh <folder with the artefacts> <version>
# LARK_TEST_ROOT  where the prepared prefix and the copies live (default: build/wine-test)
set -u
dist=$(cd "$1" && pwd)
version=$2
repo=$(cd "$(dirname "$0")/../.." && pwd)
root=${LARK_TEST_ROOT:-$repo/build/wine-test}
mkdir -p "$root"
root=$(cd "$root" && pwd)
lark_tools=$repo/tools
. "$lark_tools/wine-session.sh"
wine_session "$root" package

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# Waits (bounded generously: the machine may be loaded) until every Wine process has ended.
settle() {
    timeout 300 wineserver -w || fail "Wine processes still running after 300 s ($1)"
}

# A small Windows program that waits for the bar's window (and answers the first start's
# question): real user32 calls, bounded generously.
probe=$work/bar_probe.exe
x86_64-w64-mingw32-g++-posix -std=c++17 -O2 -Wall -Wextra -Werror -static \
    -o "$probe" "$repo/tests/package/bar_probe.cpp" -lole32 -lshell32 || exit 1

# Starts a program and waits for its bar; with a data file, also answers the first start's
# question and waits for the first run to write that file, whose header must be
# "<size> <version>". Then ends every Wine process.
start_bar() { # <what> <unix folder> <program> [<data file> <header>]
    (cd "$2" && wine "$3" >/dev/null 2>&1) &
    program=$!
    if [ $# -lt 4 ]; then
        wine "$probe" 180 || fail "$1 showed no bar within 180 s"
    elif wine "$probe" 180 answer; then
        i=0
        while [ ! -s "$4" ] && [ $i -lt 180 ]; do
            sleep 1
            i=$((i + 1))
        done
        if [ ! -s "$4" ]; then
            fail "$1 wrote no $(basename "$4") within 180 s of its first start"
        else
            header=$(wine "$probe" header "$(winepath -w "$4")" | tr -d '\r')
            if [ "$header" = "$5" ]; then
                echo "ok: $1 wrote $(basename "$4") on its first start (header: $header)"
            else
                fail "$1 wrote $(basename "$4") with the header \"$header\", not \"$5\""
            fi
        fi
    else
        fail "$1 showed no bar, or no first-start question, within 180 s"
    fi
    wineserver -k >/dev/null 2>&1
    wait "$program"
    # The next program must not meet the server while it is still going down.
    settle "$1"
}

drive_c=$prefix/drive_c
installed="$drive_c/Program Files/larkRunBar"
startmenu="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/larkRunBar"
appdata=$(find "$drive_c/users" -maxdepth 3 -path '*/AppData/Roaming' -not -path '*/Public/*' |
    head -n 1)
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\larkRunBar'
run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
shipped="LarkB.exe larkb.icl LarkB.ini LarkB.DEU"

data="$appdata/Tarvo/LarkRunBar"
for edition in "" -single-byte; do
    # Each edition's data file, and its header's size and version.
    written=LarkB_U.tdb header="520 5"
    [ -n "$edition" ] && written=LarkB.tdb header="264 3"
    name="installer larkRunBar-$version$edition-setup.exe"
    wine "$dist/larkRunBar-$version$edition-setup.exe" /S >/dev/null 2>&1 ||
        fail "$name exited with $?"
    settle "$name"
    for f in $shipped Uninstall.exe; do
        [ -f "$installed/$f" ] || fail "$name did not install $f"
    done
    [ -e "$installed/LarkB.portable" ] && fail "$name installed the portable marker"
    [ -f "$startmenu/larkRunBar.lnk" ] || fail "$name made no Start-menu shortcut"
    wine reg query "$uninstall_key" /v UninstallString >/dev/null 2>&1 ||
        fail "$name made no uninstaller entry"
    if wine reg query "$run_key" /v larkRunBar >/dev/null 2>&1; then
        fail "$name set the log-on start, which is off unless chosen"
    fi

    start_bar "the installed LarkB.exe$edition" "$installed" \
        'C:\Program Files\larkRunBar\LarkB.exe' "$data/$written" "$header"
    if [ -n "$edition" ] && [ -e "$data/LarkB_U.tdb" ]; then
        fail "the single-byte edition wrote the wide edition's LarkB_U.tdb"
    fi

    # The user's data file: it must survive the removal as it is.
    mkdir -p "$data"
    printf 'data file of the user %s\n' "$edition" >"$data/LarkB_U.tdb"
    cp "$data/LarkB_U.tdb" "$work/kept.tdb"

    name="the uninstaller of larkRunBar$edition"
    wine 'C:\Program Files\larkRunBar\Uninstall.exe' /S >/dev/null 2>&1 || fail "$name exited with $?"
    settle "$name"
    [ -e "$installed" ] && fail "$name left $(ls "$installed" | tr '\n' ' ')"
    [ -e "$startmenu" ] && fail "$name left the Start-menu folder"
    wine reg query "$uninstall_key" >/dev/null 2>&1 && fail "$name left its uninstaller entry"
    cmp -s "$data/LarkB_U.tdb" "$work/kept.tdb" || fail "$name did not keep LarkB_U.tdb"
    rm -rf "$appdata/Tarvo"
done

# The portable programs read and keep what lies beside them wherever they were unpacked. The
# single-byte edition too: its code page cannot spell this folder, but it finds its files by
# their full names, makes its first tree from the template beside it and saves it there.
folder="$work/Meine Programme/Lärche Ünïcode 日本"
wine reg delete 'HKCU\Software\Tarvo' /f >/dev/null 2>&1
mkdir -p "$folder"
for edition in "" -single-byte; do
    (cd "$folder" && unzip -q "$dist/larkRunBar-$version$edition-portable.zip") ||
        fail "larkRunBar-$version$edition-portable.zip did not unpack"
done
start_bar "the portable LarkB.exe in \"$folder\"" "$folder/larkRunBar-$version" ./LarkB.exe \
    "$folder/larkRunBar-$version/LarkB_U.tdb" "520 5"
start_bar "the portable single-byte LarkB.exe in \"$folder\"" \
    "$folder/larkRunBar-$version-single-byte" ./LarkB.exe \
    "$folder/larkRunBar-$version-single-byte/LarkB.tdb" "264 3"
for edition in "" -single-byte; do
    [ -f "$folder/larkRunBar-$version$edition/LarkB.portable" ] ||
        fail "larkRunBar-$version$edition-portable.zip holds no LarkB.portable"
    [ -s "$folder/larkRunBar-$version$edition/LarkB.settings.ini" ] ||
        fail "the portable LarkB.exe$edition kept no settings beside itself"
done
[ -e "$appdata/Tarvo" ] && fail "a portable LarkB.exe wrote into the profile's Tarvo folder"
wine reg query 'HKCU\Software\Tarvo' >/dev/null 2>&1 &&
    fail "a portable LarkB.exe wrote settings into the registry"

if [ $failures -ne 0 ]; then
    echo "Package tests: $failures FAILED"
    exit 1
fi
echo "Package tests: all passed (installers, uninstallers and the portable zips)"
