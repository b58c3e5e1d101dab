#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a while.
#   scripts/fuzz.sh [seconds per target, default 120]
set -euo pipefail
cd "$(dirname "$0")/.."

SECONDS_EACH="${1:-120}"
BUILD_DIR=build-fuzz

bash scripts/install-deps.sh
CC=clang CXX=clang++ cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZARNEL_FUZZ=ON -DZARNEL_BUILD_PLUGIN=OFF -DZARNEL_BUILD_TESTS=OFF
cmake --build "$BUILD_DIR" --parallel "$(nproc 2>/dev/null || echo 2)"

for target in fuzz_program_parsing fuzz_settings_parser; do
    corpus="$BUILD_DIR/corpus/$target"
    mkdir -p "$corpus"
    echo "== $target for ${SECONDS_EACH}s"
    "$BUILD_DIR/tests/fuzz/$target" "$corpus" -max_total_time="$SECONDS_EACH" -max_len=140000 \
        -rss_limit_mb=4096 -print_final_stats=1
done
