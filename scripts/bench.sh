#!/usr/bin/env bash
# Builds an optimised tree and prints the benchmark figures: the logic's
# benchmarks, then the program's start-up against a bare Qt window, step by step,
# opening windows, and printing a full chart to a PDF file.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOSBEL_BUILD_TESTS=OFF \
    -DTOSBEL_BUILD_BENCH=ON
cmake --build build/release --target tosbel_bench startup_bench window_open_bench print_bench
build/release/bench/tosbel_bench "$@"
build/release/bench/startup_bench --marks
build/release/bench/window_open_bench
build/release/bench/print_bench
