#!/usr/bin/env bash
# Trelvane for Windows, built here and tested under Wine: builds Qt for Windows and pugixml once
# (cached by tools/build-qt-windows.sh and tools/build-pugixml-windows.sh), cross-compiles trelvane.exe,
# trelvane-csv.exe and the test programs into build-windows/ with MinGW-w64, runs the tests under Wine
# in a fresh prefix, and packs trelvane-<version>-win64.zip (the CMake project's version).
#   tools/windows.sh [build folder]
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$src/build-windows}
start=$(date +%s)

wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
for tool in x86_64-w64-mingw32-g++-posix "$wine" "$wineserver" Xvfb; do
    if ! command -v "$tool" >/dev/null; then
        echo "windows build needs $tool (tools/install-deps.sh test installs it)" >&2
        exit 1
    fi
done

qt=$("$src/tools/build-qt-windows.sh")
echo "== Qt for Windows: $qt"
pugixml=$("$src/tools/build-pugixml-windows.sh")
echo "== pugixml for Windows: $pugixml"

# A fresh, throw-away prefix: no state of an earlier run (registry, files) can pass a test. The test
# discovery at build time runs the programs too, so the prefix exists before the build.
prefix=$(mktemp -d "${TMPDIR:-/tmp}/trelvane-windows.XXXXXX")
display_file=$(mktemp "${TMPDIR:-/tmp}/trelvane-windows-display.XXXXXX")
xvfb=
cleanup() {
    WINEPREFIX=$prefix "$wineserver" -k 2>/dev/null || true
    WINEPREFIX=$prefix "$wineserver" -w 2>/dev/null || true
    if [ -n "$xvfb" ]; then
        kill "$xvfb" 2>/dev/null || true
        wait "$xvfb" 2>/dev/null || true
    fi
    rm -rf "$prefix" "$display_file"
}
trap cleanup EXIT
export WINEPREFIX=$prefix WINEDEBUG=-all WINEARCH=win64
# Tests that meet one of Wine's known gaps (its WMI is incomplete) skip and say so.
export TRELVANE_UNDER_WINE=1
# No Mono or Gecko installers and no menu entries: the programs need none of them.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# The tests run on Qt's windows platform (the only one the static Qt carries), and Wine creates no
# window, not even the hidden ones Qt needs, without an X display: a virtual one of this run's own, on
# a display number the X server picks free itself, so parallel runs and a desktop stay apart.
unset WAYLAND_DISPLAY
# Each test names its Qt platform itself; one chosen for the Linux tests must not reach them.
unset QT_QPA_PLATFORM
Xvfb -displayfd 1 -screen 0 1920x1080x24 -nolisten tcp >"$display_file" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do
    [ -s "$display_file" ] && break
    sleep 0.1
done
if [ ! -s "$display_file" ]; then
    echo "Xvfb did not start" >&2
    exit 1
fi
export DISPLAY=:$(head -n 1 "$display_file")
echo "== Xvfb on $DISPLAY"
"$wine" wineboot --init >/dev/null 2>&1 || true
"$wineserver" -w
# Each test is a program of its own: a server that stays between them saves starting Wine's services
# again for every one (seconds each). The clean-up above stops it. The services are started here,
# with nothing of CTest's open: a service that held a test's output pipe would keep CTest waiting.
"$wineserver" -p
"$wine" wineboot </dev/null >/dev/null 2>&1 || true

echo "== configuring $out"
# The "windows" preset: Qt's toolchain for this Qt, chained to MinGW-w64's; pugixml built for Windows.
export TRELVANE_QT_WINDOWS=$qt
(cd "$src" && cmake --preset windows -B "$out" -Dpugixml_DIR="$pugixml/lib/cmake/pugixml" \
    ${TRELVANE_WINDOWS_CMAKE_ARGS:-})
echo "== building"
cmake --build "$out" -j "${TRELVANE_JOBS:-$(nproc)}"
echo "== built in $(($(date +%s) - start)) s"

echo "== testing under $("$wine" --version)"
# One program at a time: the report-list tests share one settings store, the registry of the prefix.
status=0
# Under Wine a program now and then fails to start at all (no output, a hundredth of a second): each
# failed test runs once more, and a test fails only when it fails twice.
(cd "$out" && ctest --output-on-failure --timeout 300 --repeat until-pass:2) || status=$?

echo "== packing"
(cd "$out" && cpack -G ZIP >/dev/null) || status=$?
ls -l "$out"/trelvane-*-win64.zip 2>/dev/null || true
echo "== tools/windows.sh took $(($(date +%s) - start)) s"
exit "$status"
