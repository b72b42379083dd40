#!/bin/sh
# Installs what is missing, builds, and runs every test under Wine; prints how many test
# cases ran and passed. Exits non-zero on any failure.
set -eu
repo=$(cd "$(dirname "$0")/.." && pwd)
"$repo/tools/install-deps.sh"
"$repo/tools/build.sh"
build=${LARK_BUILD_DIR:-$repo/build}

# The single-byte edition: its program and its own process tests, in a folder of its own.
single=$build/single-byte
# A folder configured from another checkout would build that checkout's sources.
if [ -f "$single/CMakeCache.txt" ] &&
    ! grep -qx "CMAKE_HOME_DIRECTORY:INTERNAL=$repo" "$single/CMakeCache.txt"; then
    echo "Configuring $single afresh: it was made from another checkout."
    rm -rf "$single"
fi
if [ ! -f "$single/CMakeCache.txt" ]; then
    launcher=
    if command -v ccache >/dev/null 2>&1; then
        launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache"
    fi
    # shellcheck disable=SC2086
    cmake -S "$repo" -B "$single" -DCMAKE_BUILD_TYPE=Release -DLARK_SINGLE_BYTE=ON \
        -DLARK_BUILD_TESTS=ON -DLARK_BUILD_BENCH=OFF $launcher \
        -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" >/dev/null
elif ! grep -qx "LARK_BUILD_TESTS:BOOL=ON" "$single/CMakeCache.txt"; then
    # Made by tools/package.sh, which builds the program only.
    cmake "$single" -DLARK_BUILD_TESTS=ON >/dev/null
fi
cmake --build "$single" -j "$(nproc)" --target LarkB test_single

export LARK_TEST_ROOT="$build/wine-test"
export LARK_TEST_RESULTS="$LARK_TEST_ROOT/results"
rm -rf "$LARK_TEST_RESULTS"
mkdir -p "$LARK_TEST_RESULTS"
"$repo/tools/wine-prefix.sh" "$LARK_TEST_ROOT/base" --no-window-manager

status=0
ctest --test-dir "$build" -j "$(nproc)" --output-on-failure || status=$?
# The second run: the single-byte program (its reports join the others).
ctest --test-dir "$single" --output-on-failure || status=$?

ran=0
failed=0
for xml in "$LARK_TEST_RESULTS"/*.xml; do
    [ -f "$xml" ] || continue
    line=$(grep -m1 '<testsuites' "$xml")
    t=$(echo "$line" | sed -n 's/.* tests="\([0-9]*\)".*/\1/p')
    f=$(echo "$line" | sed -n 's/.* failures="\([0-9]*\)".*/\1/p')
    e=$(echo "$line" | sed -n 's/.* errors="\([0-9]*\)".*/\1/p')
    ran=$((ran + ${t:-0}))
    failed=$((failed + ${f:-0} + ${e:-0}))
done
echo "Test cases: $ran ran, $((ran - failed)) passed, $failed failed"

# The installers and portable zips, made and tried as a user would (the single-byte edition
# shares its build folder with the one above).
packaged=0
LARK_PACKAGE_BUILD_DIR=$build LARK_DIST_DIR=$build/dist "$repo/tools/package.sh" &&
    "$repo/tests/package/test_package.sh" "$build/dist" \
        "$(sed -n 's/^#define LARK_VERSION_TEXT "\(.*\)"$/\1/p' "$build/generated/version.h")" ||
    packaged=$?
if [ "$status" -ne 0 ] || [ "$failed" -ne 0 ] || [ "$packaged" -ne 0 ]; then
    echo "TESTS FAILED"
    exit 1
fi
echo "ALL TESTS PASSED"
