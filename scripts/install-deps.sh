#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Safe to run again: apt is only
# called when something is missing.
set -euo pipefail

PACKAGES=(
    build-essential cmake ninja-build pkg-config git
    juce-modules-source juce-tools
    libasound2-dev libfreetype-dev libfontconfig1-dev libx11-dev libxrandr-dev libxinerama-dev
    libxcursor-dev libxext-dev
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
    fonts-liberation2
    xvfb xauth twm x11-utils xdotool imagemagick jalv jackd2 lilv-utils lv2-dev sordi
)

missing=()
for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
