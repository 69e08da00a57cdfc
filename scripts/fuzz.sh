#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, any error aborts) and runs each for a bounded
# time from its seed corpus, two at a time. FUZZ_SECONDS sets the time per
# target (12 by default). A crash, a slow input (over 5 s), a leak or a
# sanitizer report fails the run; the input is kept under build/fuzz/findings.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

seconds="${FUZZ_SECONDS:-12}"
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTOSBEL_BUILD_QT=OFF -DTOSBEL_BUILD_TESTS=OFF -DTOSBEL_BUILD_BENCH=OFF \
    -DTOSBEL_BUILD_FUZZ=ON >/dev/null
cmake --build build/fuzz -j2

targets=()
for dir in tests/fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done

# The fuzzer adds what it learns to a copy: the seeds in the tree stay as they are.
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
findings="$PWD/build/fuzz/findings"
rm -rf "$findings"

run() {
    local name="$1"
    local dict=()
    [ -f "tests/fuzz/$name.dict" ] && dict=("-dict=tests/fuzz/$name.dict")
    mkdir -p "$work/$name" "$findings/$name"
    cp -R "tests/fuzz/corpus/$name/." "$work/$name/"
    local rc=0
    UBSAN_OPTIONS=print_stacktrace=1 "build/fuzz/tests/fuzz/$name" "${dict[@]}" \
        -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 -max_len=65536 \
        -print_final_stats=1 -artifact_prefix="$findings/$name/" \
        "$work/$name" >"$work/$name.log" 2>&1 || rc=$?
    echo "$rc" >"$work/$name.rc"
}

running=0
for name in "${targets[@]}"; do
    if [ "$running" -ge 2 ]; then
        wait -n
        running=$((running - 1))
    fi
    run "$name" &
    running=$((running + 1))
done
wait

passed=0
failed=0
for name in "${targets[@]}"; do
    log="$work/$name.log"
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)"
    if [ "$(cat "$work/$name.rc")" = 0 ]; then
        passed=$((passed + 1))
        rm -rf "${findings:?}/$name"
        echo "$name: ${runs:-?} executions, passed"
        continue
    fi
    failed=$((failed + 1))
    echo "$name: ${runs:-?} executions, FAILED"
    # The report from the first line libFuzzer or a sanitizer wrote about it,
    # without AddressSanitizer's map of shadow memory; the whole log is kept.
    report="$(sed -n '/^==[0-9]*==\|^[^ ]*: runtime error\|does not hold\|^ALARM\|^ERROR/,$p' "$log" |
        sed '/^Shadow bytes around/,/^==[0-9]*==ABORTING/d')"
    [ -n "$report" ] || report="$(tail -n 20 "$log")"
    head -n 60 <<<"$report" | sed 's/^/    /'
    cp "$log" "$findings/$name/log"
    for input in "$findings/$name"/*; do
        [ "$(basename "$input")" = log ] && continue
        echo "    input: $input ($(wc -c <"$input") bytes, the first 4096 in hex)"
        head -c 4096 "$input" | od -An -tx1 -v | sed 's/^ */    /'
        echo "    replay: build/fuzz/tests/fuzz/$name $input"
    done
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
