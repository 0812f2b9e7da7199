#!/usr/bin/env bash
# Builds the Debian package trelvane_<version>_<architecture>.deb into build-package/ and prints its path.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh package
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
      -DTRELVANE_TESTS=OFF -DTRELVANE_BENCH=OFF
cmake --build build-package
(cd build-package && cpack -G DEB >/dev/null)
ls "$PWD"/build-package/trelvane_*.deb
