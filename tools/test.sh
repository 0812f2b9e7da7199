#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test; then builds again with
# AddressSanitizer and UndefinedBehaviorSanitizer and runs every test there too; then checks the Debian
# package, and builds the Windows programs and runs their tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh test
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRELVANE_WERROR=ON
cmake --build build -j "$jobs"

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTRELVANE_WERROR=ON -DTRELVANE_SANITIZE=ON \
      -DTRELVANE_BENCH=OFF
cmake --build build-asan -j "$jobs"

echo "== fuzzing the report reader and parser, and the report list's settings reader =="
tools/fuzz.sh

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tools/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
echo "== sanitizer build: tests =="
(cd build-asan && ctest --output-on-failure -j "$jobs" --timeout 600)
echo "== release build: tests =="
(cd build && ctest --output-on-failure -j "$jobs" --timeout 600)
echo "== Debian package: build, install, check, remove =="
tools/package-check.sh
echo "== Windows: Qt for Windows (built once per machine), the programs, their tests under Wine, the ZIP =="
tools/windows.sh
