#!/usr/bin/env bash
# Runs one Windows test under wine, in the build's own wine prefix, with an empty home and no
# plug-in files left by an earlier test; optionally on a virtual display with a window manager
# (through the Linux host tests' runner).
# Usage: run-wine-test.sh WINE_PREFIX HOME_DIR [--display] COMMAND [ARGS...]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"

if [ "$1" = "--inner" ]; then
    # Inside the display: run, then wait until wine's own processes have gone, so nothing of
    # this run outlives its display or meets the next test.
    shift
    set +e
    "$@"
    rc=$?
    wineserver -w
    exit "$rc"
fi

export WINEPREFIX="$1" home="$2"
shift 2
export WINEDEBUG=-all
# No Mono or Gecko: wine would offer to download them when the prefix is made.
export WINEDLLOVERRIDES="mscoree,mshtml="
for tool in wine wineboot wineserver; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/build-windows.sh installs it)"; exit 1; }
done

# The prefix is made once per build folder (it takes a while), before any display exists.
if [ ! -f "$WINEPREFIX/.zarnel-ready" ]; then
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    env -u DISPLAY wineboot -i >/dev/null 2>&1 || { echo "FAIL: wineboot could not make $WINEPREFIX"; exit 1; }
    wineserver -w
    touch "$WINEPREFIX/.zarnel-ready"
fi
rm -rf "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/ZarnelSettings

display=()
if [ "${1:-}" = "--display" ]; then
    display=(--display)
    shift
fi
export ZARNEL_TWMRC="$here/twmrc"
exec bash "$here/../hosts/run-host-test.sh" "$home" "${display[@]}" bash "$here/run-wine-test.sh" --inner "$@"
