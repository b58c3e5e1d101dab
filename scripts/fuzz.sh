#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a while.
#   scripts/fuzz.sh [seconds per target, default 120]
set -euo pipefail
cd "$(dirname "$0")/.."

SECONDS_EACH="${1:-120}"
BUILD_DIR=build-fuzz
failed=()

bash scripts/install-deps.sh
CC=clang CXX=clang++ cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZARNEL_FUZZ=ON -DZARNEL_BUILD_PLUGIN=OFF -DZARNEL_BUILD_TESTS=OFF
cmake --build "$BUILD_DIR" --parallel "$(nproc 2>/dev/null || echo 2)"

# Target and its longest input: bank files (the data file and the user's) are large; the MIDI
# stream and the state blocks are built up from short inputs.
for entry in fuzz_program_parsing:140000 fuzz_settings_parser:140000 fuzz_midi_input:8192 \
    fuzz_state_blocks:4096 fuzz_user_files:140000 \
    fuzz_library_file:140000; do
    target="${entry%%:*}"
    corpus="$BUILD_DIR/corpus/$target"
    mkdir -p "$corpus" "$BUILD_DIR/artifacts"
    echo "== $target for ${SECONDS_EACH}s"
    # A crash stops only its own target; its input lands in build-fuzz/artifacts/.
    if ! "$BUILD_DIR/tests/fuzz/$target" "$corpus" -max_total_time="$SECONDS_EACH" -max_len="${entry##*:}" \
        -rss_limit_mb=4096 -print_final_stats=1 -artifact_prefix="$BUILD_DIR/artifacts/$target-"; then
        failed+=("$target")
    fi
done

if ((${#failed[@]})); then
    echo "== failed: ${failed[*]}"
    exit 1
fi
