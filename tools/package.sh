#!/bin/sh
# Builds both editions of larkRunBar (the program only, no tests) and makes, for each, an
# installer and a portable zip in build/dist/:
#   larkRunBar-<version>-setup.exe              larkRunBar-<version>-portable.zip
#   larkRunBar-<version>-single-byte-setup.exe  larkRunBar-<version>-single-byte-portable.zip
# The version is the one the version resource is made from (CMakeLists.txt project VERSION).
#   LARK_PACKAGE_BUILD_DIR  where the two editions are built (default: build/package)
#   LARK_DIST_DIR           where the artefacts go (default: build/dist)
set -eu
repo=$(cd "$(dirname "$0")/.." && pwd)
"$repo/tools/install-deps.sh"
builds=${LARK_PACKAGE_BUILD_DIR:-$repo/build/package}
dist=${LARK_DIST_DIR:-$repo/build/dist}
mkdir -p "$builds" "$dist"

launcher=
if command -v ccache >/dev/null 2>&1; then
    launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache"
    export CCACHE_BASEDIR="$repo"
fi

# The files shipped beside the program; the installer script lists the same.
shipped="LarkB.exe larkb.icl LarkB.ini LarkB.DEU"

package() { # <edition name> <LARK_SINGLE_BYTE value> <artefact suffix>
    build=$builds/$1
    if [ ! -f "$build/CMakeCache.txt" ]; then
        # shellcheck disable=SC2086
        cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DLARK_SINGLE_BYTE="$2" \
            -DLARK_BUILD_TESTS=OFF -DLARK_BUILD_BENCH=OFF $launcher \
            -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" >/dev/null
    fi
    echo "Building the $1 edition ..."
    cmake --build "$build" -j "$(nproc)" --target LarkB larkb_icl

    version=$(sed -n 's/^#define LARK_VERSION_TEXT "\(.*\)"$/\1/p' "$build/generated/version.h")
    [ -n "$version" ] || { echo "package: no version in $build/generated/version.h" >&2; exit 1; }
    for f in $shipped; do
        [ -f "$build/bin/$f" ] || { echo "package: $build/bin/$f was not built" >&2; exit 1; }
    done

    base=larkRunBar-$version$3
    edition=
    [ -n "$3" ] && edition="-DEDITION=${3#-}"
    makensis -V2 -NOCD -DVERSION="$version" -DSOURCE="$build/bin" $edition \
        -DICON="$repo/res/LarkB.ico" -DOUTFILE="$dist/$base-setup.exe" \
        "$repo/tools/installer/larkrunbar.nsi"

    # The portable zip: one folder holding the program and what it reads beside itself, and
    # the marker that keeps the buttons and settings there too (the installer has none).
    stage=$build/portable/$base
    rm -rf "$build/portable" "$dist/$base-portable.zip"
    mkdir -p "$stage"
    for f in $shipped; do cp "$build/bin/$f" "$stage/"; done
    printf '%s\r\n' "While this file lies here, larkRunBar keeps its buttons and settings in this" \
        "folder. Delete it to keep them in your profile and registry instead." \
        >"$stage/LarkB.portable"
    (cd "$build/portable" && zip -q -r -X "$dist/$base-portable.zip" "$base")
    echo "Made $dist/$base-setup.exe and $dist/$base-portable.zip"
}

package wide OFF ""
package single-byte ON -single-byte
