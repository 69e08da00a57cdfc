#!/usr/bin/env bash
# Builds an optimised tree and prints the benchmark figures.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOSBEL_BUILD_TESTS=OFF
cmake --build build/release --target tosbel_bench
build/release/bench/tosbel_bench "$@"
