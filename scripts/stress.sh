#!/usr/bin/env bash
# Builds everything with ThreadSanitizer and runs the stress tests: the MIDI input thread flooded
# while the audio and message threads work, and outputs switched while notes are held and the
# devices stall.
#   scripts/stress.sh [seconds per test, default 120]
set -euo pipefail
cd "$(dirname "$0")/.."

SECONDS_EACH="${1:-120}"
BUILD_DIR=build-tsan

bash scripts/install-deps.sh
CC=clang CXX=clang++ cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZARNEL_TSAN=ON -DZARNEL_BUILD_PLUGIN=OFF -DZARNEL_BUILD_TESTS=OFF
cmake --build "$BUILD_DIR" --parallel "$(nproc 2>/dev/null || echo 2)"

export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/tests/stress/tsan.supp"
ZARNEL_STRESS_SECONDS="$SECONDS_EACH" "$BUILD_DIR/tests/stress/zarnel_stress_tests"
