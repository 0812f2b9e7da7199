#!/usr/bin/env bash
# Trelvane for Windows, built here and tested under Wine: builds Qt for Windows once (cached by
# tools/build-qt-windows.sh), cross-compiles trelvane.exe, trelvane-csv.exe and the test programs
# into build-windows/ with MinGW-w64, runs the tests under Wine in a fresh prefix, and packs
# trelvane-1.0.7.0-win64.zip.
#   tools/windows.sh [build folder]
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$src/build-windows}
start=$(date +%s)

wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
for tool in x86_64-w64-mingw32-g++-posix "$wine" "$wineserver"; do
    if ! command -v "$tool" >/dev/null; then
        echo "windows build needs $tool (tools/install-deps.sh test installs it)" >&2
        exit 1
    fi
done

qt=$("$src/tools/build-qt-windows.sh")
echo "== Qt for Windows: $qt"

# A fresh, throw-away prefix: no state of an earlier run (registry, files) can pass a test. The test
# discovery at build time runs the programs too, so the prefix exists before the build.
prefix=$(mktemp -d "${TMPDIR:-/tmp}/trelvane-windows.XXXXXX")
cleanup() {
    WINEPREFIX=$prefix "$wineserver" -k 2>/dev/null || true
    WINEPREFIX=$prefix "$wineserver" -w 2>/dev/null || true
    rm -rf "$prefix"
}
trap cleanup EXIT
export WINEPREFIX=$prefix WINEDEBUG=-all WINEARCH=win64
# Tests that meet one of Wine's known gaps (its WMI is incomplete) skip and say so.
export TRELVANE_UNDER_WINE=1
# No Mono or Gecko installers and no menu entries: the programs need none of them.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# The tests run without a display, on Qt's windows platform (the only one the static Qt carries).
unset DISPLAY WAYLAND_DISPLAY
"$wine" wineboot --init >/dev/null 2>&1 || true
"$wineserver" -w

echo "== configuring $out"
"$qt/bin/qt-cmake" -S "$src" -B "$out" -G Ninja \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$src/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$wine" \
    -DTRELVANE_WERROR=ON -DTRELVANE_BENCH=OFF \
    ${TRELVANE_WINDOWS_CMAKE_ARGS:-}
echo "== building"
cmake --build "$out" -j "${TRELVANE_JOBS:-$(nproc)}"

echo "== testing under $("$wine" --version)"
# One program at a time: the report-list tests share one settings store, the registry of the prefix.
status=0
(cd "$out" && ctest --output-on-failure --timeout 300) || status=$?

echo "== packing"
(cd "$out" && cpack -G ZIP >/dev/null) || status=$?
ls -l "$out"/trelvane-*-win64.zip 2>/dev/null || true
echo "== tools/windows.sh took $(($(date +%s) - start)) s"
exit "$status"
