#!/usr/bin/env bash
# Takes the pictures of the windows the help pages show, afresh from the
# program as it is built now, into resources/help/images. Run it after a
# window changes its look, look at the pictures, and commit them.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DTOSBEL_BUILD_TESTS=OFF -DTOSBEL_BUILD_BENCH=OFF >/dev/null
cmake --build build/release --target help_shots
mkdir -p resources/help/images
QT_QPA_PLATFORM=offscreen build/release/app/help_shots resources/help/images
ls -l resources/help/images
