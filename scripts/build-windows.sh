#!/usr/bin/env bash
# Cross-compiles the plug-in (VST3, Standalone) and its Windows tests for 64-bit Windows into
# build-win/, with MinGW-w64 and the toolchain file in cmake/. The build-time generators run from
# the native build tree (build/, or NATIVE_BUILD_DIR), which is configured and built first when its
# factory generator is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"

WIN_BUILD_DIR="${WIN_BUILD_DIR:-build-win}"
NATIVE_BUILD_DIR="${NATIVE_BUILD_DIR:-${BUILD_DIR:-build}}"
JOBS="$(nproc 2>/dev/null || echo 2)"
DEPS="$ROOT/$WIN_BUILD_DIR/deps"
TOOLCHAIN="$ROOT/cmake/mingw-w64-x86_64.cmake"

bash scripts/install-deps.sh

# The POSIX-thread MinGW compilers, the MinGW zlib, wine to run the tests, and dpkg-source to
# unpack Debian's libpng and libjpeg-turbo sources.
PACKAGES=(mingw-w64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix libz-mingw-w64-dev
    binutils-mingw-w64-x86-64 wine wine64 dpkg-dev)
missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get -o DPkg::Lock::Timeout=600 update -qq
    $SUDO apt-get -o DPkg::Lock::Timeout=600 install -y -qq "${missing[@]}" >/dev/null
fi

# Debian's JUCE uses the system's libpng and libjpeg, of which there are no MinGW packages: build
# them once, statically, from Debian's own source packages.
build_image_libraries() {
    local apt="$DEPS/apt" src="$DEPS/src" prefix="$DEPS/prefix"
    rm -rf "$DEPS"
    mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/parts" "$src" "$prefix"

    # A private deb-src list on the mirror the machine's apt already uses, so the system's apt
    # setup stays untouched.
    local mirror suite
    mirror="$(cat /etc/apt/sources.list.d/*.sources /etc/apt/sources.list /etc/apt/sources.list.d/*.list \
        2>/dev/null | awk '/^URIs:/ || /^deb / {print $2}' | grep -v security | head -1 || true)"
    suite="$(. /etc/os-release && echo "$VERSION_CODENAME")"
    [ -n "$mirror" ] && [ -n "$suite" ] || { echo "no Debian mirror found in the apt sources" >&2; exit 1; }
    echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror $suite main" >"$apt/sources.list"
    local opts=(-o "Dir::Etc::SourceList=$apt/sources.list" -o "Dir::Etc::SourceParts=$apt/parts"
        -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache" -o APT::Sandbox::User=root)
    apt-get "${opts[@]}" update -qq
    (cd "$src" && apt-get "${opts[@]}" source --download-only -qq libpng1.6 libjpeg-turbo &&
        for dsc in *.dsc; do dpkg-source -x "$dsc" >/dev/null; done)

    local common=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN"
        -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_POSITION_INDEPENDENT_CODE=ON -Wno-dev)
    local png jpeg
    png="$(find "$src" -maxdepth 1 -type d -name 'libpng1.6-*' | head -1)"
    jpeg="$(find "$src" -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -1)"
    cmake -S "$png" -B "$DEPS/build-png" "${common[@]}" -DPNG_SHARED=OFF -DPNG_TESTS=OFF \
        -DPNG_EXECUTABLES=OFF >/dev/null
    cmake --build "$DEPS/build-png" --parallel "$JOBS" --target install >/dev/null
    cmake -S "$jpeg" -B "$DEPS/build-jpeg" "${common[@]}" -DENABLE_SHARED=OFF -DWITH_SIMD=OFF \
        -DWITH_TURBOJPEG=OFF >/dev/null
    cmake --build "$DEPS/build-jpeg" --parallel "$JOBS" --target install >/dev/null

    # JUCE reads libjpeg's internals (JPEG_INTERNALS), and windows.h already defines `boolean`,
    # which JUCE then imports from libjpeg's namespace: a shim header takes the Windows one.
    cp "$jpeg/jpegint.h" "$prefix/include/"
    mkdir -p "$DEPS/shim"
    cat >"$DEPS/shim/jpeglib.h" <<'EOF'
#pragma once
#ifdef __RPCNDR_H__
typedef ::boolean boolean;
#endif
#include_next <jpeglib.h>
EOF
    touch "$DEPS/complete"
}

if [ ! -f "$DEPS/complete" ]; then
    echo "== building static libpng and libjpeg for Windows into $DEPS"
    build_image_libraries
fi

# The generators run here, so they come from a native build tree (brought up to date first).
if [ ! -f "$NATIVE_BUILD_DIR/build.ninja" ]; then
    cmake -S . -B "$NATIVE_BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$NATIVE_BUILD_DIR" --parallel "$JOBS" --target zarnel_factorygen

cmake -S . -B "$WIN_BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
    -DJUCE_DIR=/usr/lib/x86_64-linux-gnu/cmake/JUCE-7.0.5 \
    -DZARNEL_NATIVE_TOOLS_DIR="$ROOT/$NATIVE_BUILD_DIR" \
    -DZARNEL_WINDOWS_DEPS="$DEPS" \
    -DZARNEL_BUILD_BENCHMARKS=OFF "$@"
cmake --build "$WIN_BUILD_DIR" --parallel "$JOBS"
