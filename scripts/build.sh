#!/usr/bin/env bash
# Configures and builds everything (libraries, plug-in formats, tests) into build/.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR="${BUILD_DIR:-build}"
JOBS="$(nproc 2>/dev/null || echo 2)"

# Configure only for a new folder or when options are given: the build reruns CMake by itself
# when a CMakeLists.txt changes, and a needless configure makes work for the build.
if [ "$#" -gt 0 ] || [ ! -f "$BUILD_DIR/build.ninja" ]; then
    cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@"
fi
cmake --build "$BUILD_DIR" --parallel "$JOBS"
