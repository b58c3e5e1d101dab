#!/usr/bin/env bash
# Starts the Standalone app on the current (virtual) display with no audio or MIDI devices, waits
# for its window, takes a screenshot, then closes it with its own close button and expects a clean
# exit. Usage: standalone-test.sh APP WINDOW_TITLE SCREENSHOT.png
set -uo pipefail

app="$1"; title="$2"; shot="$3"
for tool in xdotool xwininfo import; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/install-deps.sh installs it)"; exit 1; }
done
[ -n "${DISPLAY:-}" ] || { echo "FAIL: no DISPLAY (run through the ctest entry)"; exit 1; }
[ -x "$app" ] || { echo "FAIL: $app was not built"; exit 1; }

log="$(mktemp)"
# ZARNEL_APP_LAUNCHER: wine, for the Windows build's app (tests/hosts-windows).
${ZARNEL_APP_LAUNCHER:-} "$app" >"$log" 2>&1 &
pid=$!

fail() {
    echo "FAIL: $*"
    echo "--- app output:"; cat "$log"
    echo "--- windows:"; xwininfo -root -tree | grep -v "has no name" | head -40
    kill -INT "$pid" 2>/dev/null; sleep 2; kill -KILL "$pid" 2>/dev/null
    exit 1
}

win=""
for _ in $(seq 60); do
    kill -0 "$pid" 2>/dev/null || { wait "$pid"; fail "the app ended at start (exit code $?)"; }
    win="$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -1)"
    [ -n "$win" ] && break
    sleep 0.5
done
[ -n "$win" ] || fail "no visible window named \"$title\" after 30 s"

xwininfo -root -tree | grep -F "\"$title\"" || fail "xwininfo does not list the window"
eval "$(xdotool getwindowgeometry --shell "$win")"
echo "window $win: ${WIDTH}x${HEIGHT} at $X,$Y"
[ "$WIDTH" -ge 300 ] && [ "$HEIGHT" -ge 200 ] || fail "the window is too small: ${WIDTH}x${HEIGHT}"

# Let it paint and settle, then make sure it is still there.
sleep 3
kill -0 "$pid" 2>/dev/null || fail "the app died after showing its window"
import -window root "$shot" || fail "no screenshot"
echo "screenshot: $shot"

# JUCE draws the title bar itself: the close button is the rightmost one (26 px bar, 23 px buttons).
xdotool mousemove --window "$win" $((WIDTH - 16)) 13 click 1
for _ in $(seq 30); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.5
done
if kill -0 "$pid" 2>/dev/null; then
    fail "the app did not quit after its close button was clicked"
fi
wait "$pid"
rc=$?
cat "$log"
[ "$rc" -eq 0 ] || { echo "FAIL: exit code $rc after closing"; exit 1; }
echo "quit cleanly"
