#!/usr/bin/env bash
# Runs one host test in an empty home folder, optionally on a virtual display with a window manager
# (twm, with the configuration file named by ZARNEL_TWMRC if set).
# Usage: run-host-test.sh HOME_DIR [--display] COMMAND [ARGS...]
set -euo pipefail

home="$1"; shift
rm -rf "$home"
mkdir -p "$home"
export HOME="$home"
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME

if [ "${1:-}" != "--display" ]; then
    unset DISPLAY
    exec "$@"
fi
shift

missing=()
for tool in xvfb-run Xvfb xauth twm; do
    command -v "$tool" >/dev/null || missing+=("$tool")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "FAIL: missing ${missing[*]} (install them with scripts/install-deps.sh)" >&2
    exit 1
fi

# JUCE windows die with an X error when no window manager answers, so twm runs first. The display
# search starts at a random number, as other suites may start virtual displays at the same time.
exec xvfb-run -a -n $((100 + RANDOM % 400)) -s "-screen 0 1400x1100x24" bash -c '
    twm ${ZARNEL_TWMRC:+-f "$ZARNEL_TWMRC"} >/dev/null 2>&1 &
    wm=$!
    sleep 1
    set +e
    "$@"
    rc=$?
    kill "$wm" 2>/dev/null
    exit "$rc"' run-host-test "$@"
