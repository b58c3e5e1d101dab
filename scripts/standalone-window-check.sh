#!/usr/bin/env bash
# The Standalone window under a window manager that draws its own title bars (twm): it stays where
# it is while the MIDI setup, the bank page and the section zoom open and close, and it reopens at
# the size it had when it was closed (its reopening position is only noted). Runs on its own virtual
# display with an empty home folder, so no real settings are touched; prints PASS or FAIL and leaves
# screenshots in the output folder.
# Usage: standalone-window-check.sh [APP] [OUTPUT_DIR]
set -uo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
app="${1:-$here/../build/src/ZarnelX4_artefacts/Release/Standalone/Zarnel X4 Editor}"
out="${2:-$(mktemp -d /tmp/zarnel-window-check.XXXXXX)}"
title="Zarnel X4 Editor"

if [ -z "${ZARNEL_WINDOW_CHECK_INNER:-}" ]; then
    for tool in xvfb-run Xvfb twm xdotool xwininfo import; do
        command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/install-deps.sh installs it)"; exit 1; }
    done
    [ -x "$app" ] || { echo "FAIL: $app was not built"; exit 1; }
    mkdir -p "$out"
    home="$(mktemp -d /tmp/zarnel-window-home.XXXXXX)"
    export ZARNEL_WINDOW_CHECK_INNER=1 HOME="$home"
    unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME
    xvfb-run -a -n $((100 + RANDOM % 400)) -s "-screen 0 1400x1100x24" bash -c '
        twm >/dev/null 2>&1 &
        wm=$!
        sleep 1
        bash "$0" "$1" "$2"
        rc=$?
        kill "$wm" 2>/dev/null
        exit "$rc"' "$0" "$app" "$out"
    rc=$?
    rm -rf "$home"
    exit "$rc"
fi

failures=0
log="$out/app.log"
pid=""
win=""

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Position and size of the window's own area (inside the manager's frame), as X reports them.
geometry() {
    xwininfo -id "$win" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
                               /^ *Width/{w=$2} /^ *Height/{h=$2} END{print x, y, w, h}'
}

start_app() {
    "$app" >>"$log" 2>&1 &
    pid=$!
    win=""
    for _ in $(seq 60); do
        kill -0 "$pid" 2>/dev/null || { echo "FAIL: the app ended at start"; cat "$log"; exit 1; }
        win="$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -1)"
        [ -n "$win" ] && break
        sleep 0.5
    done
    [ -n "$win" ] || { echo "FAIL: no window named \"$title\""; kill "$pid"; exit 1; }
    sleep 3 # the about panel of the first opening closes by itself after 2 s
}

quit_app() {
    local w
    w="$(geometry | awk '{print $3}')"
    # JUCE draws its own title bar inside the frame: the close button is the rightmost one.
    xdotool mousemove --window "$win" $((w - 16)) 13 click 1
    for _ in $(seq 30); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.5
    done
    if kill -0 "$pid" 2>/dev/null; then
        fail "the app did not quit from its close button"
        kill "$pid"
    fi
    wait "$pid" 2>/dev/null
}

shot() { import -window root "$out/$1.png" && echo "screenshot: $out/$1.png"; }

# Places inside the window, from its top left corner: JUCE's title bar (26 px) and the muted-input
# notice (30 px) lie above the editor, whose application bar is 23 px high.
editor_top=56
midi_button=(104 $((editor_top + 11)))
bank_button=(158 $((editor_top + 11)))
oscillator_section=(100 $((editor_top + 40)))
outside_zoom=(20 $((editor_top + 600)))

click_at() { xdotool mousemove --window "$win" "$1" "$2" click "${3:-1}"; }

start_app
read -r x0 y0 w0 h0 < <(geometry)
echo "window at $x0,$y0, ${w0}x${h0}"
shot start

# JUCE forgets a window's paint buffer after 3 s without painting; each step waits longer than that.
step() {
    local what="$1"; shift
    "$@"
    sleep 3.5
    read -r x y w h < <(geometry)
    echo "$what: window at $x,$y, ${w}x${h}"
    [ "$x,$y" = "$x0,$y0" ] || fail "$what moved the window from $x0,$y0 to $x,$y"
}
for round in 1 2; do
    step "MIDI setup opened ($round)" click_at "${midi_button[@]}"
    [ "$round" = 1 ] && shot midi-setup
    step "MIDI setup closed ($round)" click_at "${midi_button[@]}"
    step "bank page opened ($round)" click_at "${bank_button[@]}"
    [ "$round" = 1 ] && shot bank-page
    step "bank page closed ($round)" click_at "${bank_button[@]}"
    step "zoom opened ($round)" click_at "${oscillator_section[@]}" 3
    [ "$round" = 1 ] && shot zoom
    step "zoom closed ($round)" click_at "${outside_zoom[@]}"
done

# Resize so that the editor is 991 x 600 (the window adds JUCE's title bar, notice and border).
extra_w=$((w0 - 1191)); extra_h=$((h0 - 700))
xdotool windowsize "$win" $((991 + extra_w)) $((600 + extra_h))
sleep 2
read -r x1 y1 w1 h1 < <(geometry)
echo "resized: window at $x1,$y1, ${w1}x${h1}"
[ "${w1}x${h1}" = "$((991 + extra_w))x$((600 + extra_h))" ] || fail "the window did not take the size asked for"
shot resized
quit_app

settings="$(find "$HOME" -name mphedstx.dat | head -1)"
if [ -n "$settings" ]; then
    echo "settings: $(tr -d '\n' <"$settings" | cut -c1-80)"
fi

start_app
read -r x2 y2 w2 h2 < <(geometry)
echo "restarted: window at $x2,$y2, ${w2}x${h2}"
shot restarted
[ "${w2}x${h2}" = "${w1}x${h1}" ] || fail "the window reopened at ${w2}x${h2}, not ${w1}x${h1} (editor 991x600)"
# JUCE restores its saved inner position as the frame's, and twm offsets the first placement and later moves differently, so no one correction is exact.
[ "$x2,$y2" = "$x1,$y1" ] || echo "NOTE: the window reopened at $x2,$y2, not at $x1,$y1 where it was closed (twm frame offset)"
quit_app

if [ "$failures" -eq 0 ]; then
    echo "PASS: the window stayed put and kept its size ($out)"
    exit 0
fi
echo "FAIL: $failures check(s) failed ($out)"
exit 1
