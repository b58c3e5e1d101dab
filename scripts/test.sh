#!/usr/bin/env bash
# Installs what is needed, builds everything and runs all tests: Linux first, then Windows.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/build.sh
ctest --test-dir "${BUILD_DIR:-build}" --output-on-failure --parallel "$(nproc 2>/dev/null || echo 2)"

# The Windows binaries, cross-built from the same tree and tested under wine.
bash scripts/build-windows.sh
ctest --test-dir "${WIN_BUILD_DIR:-build-win}" --output-on-failure
