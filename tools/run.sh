#!/usr/bin/env bash
# Installs what is missing, builds Trelvane and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh run
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTRELVANE_BENCH=OFF -DTRELVANE_TESTS=OFF
cmake --build build-release --target trelvane
exec build-release/app/trelvane
