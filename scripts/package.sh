#!/usr/bin/env bash
# Builds the installable package: an optimised tree in build/package and the
# .deb beside it (install it with: sudo apt install ./build/package/tosbel_*.deb).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build/package -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DTOSBEL_BUILD_TESTS=OFF -DTOSBEL_BUILD_BENCH=OFF >/dev/null
cmake --build build/package --target tosbel default_files
(cd build/package && cpack)
ls -l build/package/tosbel_*.deb
