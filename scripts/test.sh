#!/usr/bin/env bash
# Installs what is needed, builds everything and runs all tests.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/build.sh
ctest --test-dir "${BUILD_DIR:-build}" --output-on-failure --parallel "$(nproc 2>/dev/null || echo 2)"
