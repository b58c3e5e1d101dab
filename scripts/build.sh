#!/usr/bin/env bash
# Configures and builds everything (libraries, plug-in formats, tests) into build/.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR="${BUILD_DIR:-build}"
JOBS="$(nproc 2>/dev/null || echo 2)"

cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@"
cmake --build "$BUILD_DIR" --parallel "$JOBS"
