#!/usr/bin/env bash
# Builds the Debian package trelvane_<version>_<architecture>.deb into build-package/ and prints its path.
# TRELVANE_PACKAGE_BUILD names a build folder configured with the same flags (tools/test.sh passes its
# release build) whose programs are packed instead of compiling them once more.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh package
build=${TRELVANE_PACKAGE_BUILD:-}
if [ -z "$build" ]; then
    build=build-package
    cmake --preset package
fi
cmake --build "$build"
cd "$build"
cpack -G DEB >/dev/null
ls "$PWD"/trelvane_*.deb
