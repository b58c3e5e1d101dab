#!/usr/bin/env bash
# Runs the LV2 in jalv on a JACK dummy server: checks its JACK ports, its presets and controls,
# feeds it MIDI for a few seconds, then stops it with SIGINT and expects a clean exit.
# Usage: jalv-test.sh LV2_FOLDER URI
set -uo pipefail

# The LV2 specifications come from the system, for class names and preset types.
export LV2_PATH="$1:/usr/lib/lv2"
uri="$2"
for tool in jackd jalv jack_wait jack_lsp jack_connect jack_midiseq; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/install-deps.sh installs it)"; exit 1; }
done

work="$(mktemp -d)"
server="zarneltest-$$"
export JACK_DEFAULT_SERVER="$server"
export JACK_NO_AUDIO_RESERVATION=1
pids=()

cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    # jackd unregisters its server on a clean exit; killed too early it leaves stale entries
    # that count against JACK's server limit on later runs.
    for _ in $(seq 40); do
        alive=0
        for p in "${pids[@]}"; do kill -0 "$p" 2>/dev/null && alive=1; done
        [ "$alive" -eq 0 ] && break
        sleep 0.25
    done
    for p in "${pids[@]}"; do kill -KILL "$p" 2>/dev/null; done
}
trap cleanup EXIT

# Entries left by servers that died without unregistering make jackd refuse to start ("Too many
# servers already active"). With no JACK server running at all, they are all stale.
if ! pgrep -x jackd >/dev/null && ! pgrep -x jackdbus >/dev/null; then
    rm -f /dev/shm/jack-shm-registry /dev/shm/jack-[0-9]* /dev/shm/jack_db-* /dev/shm/jack_sem.* \
        /dev/shm/jack_zarneltest-* 2>/dev/null
fi

fail() {
    echo "FAIL: $*"
    echo "--- jalv output:"; cat "$work/jalv.log" 2>/dev/null
    echo "--- jackd output:"; tail -20 "$work/jackd.log" 2>/dev/null
    exit 1
}

jackd --no-realtime -n "$server" -d dummy -r 44100 -p 512 >"$work/jackd.log" 2>&1 &
pids+=($!)
jack_wait -w -t 10 >/dev/null || fail "the JACK dummy server did not start"

# Console commands come through a pipe that stays open until the end.
mkfifo "$work/in"
exec 3<>"$work/in"
jalv -n zarnel -x "$uri" <&3 >"$work/jalv.log" 2>&1 &
jalv=$!

ports=""
for _ in $(seq 40); do
    kill -0 "$jalv" 2>/dev/null || { wait "$jalv"; fail "jalv ended at start (exit code $?)"; }
    ports="$(jack_lsp -t zarnel 2>/dev/null)"
    echo "$ports" | grep -q "^zarnel:" && break
    sleep 0.25
done
echo "$ports"
count() { jack_lsp -p -t zarnel | paste - - - | grep "$1" | grep -c "$2" || true; }
[ "$(count input audio)" -eq 2 ] || fail "expected 2 audio inputs"
[ "$(count output audio)" -eq 2 ] || fail "expected 2 audio outputs"
[ "$(count input midi)" -ge 1 ] || fail "no MIDI input"
[ "$(count output midi)" -ge 1 ] || fail "no MIDI output"

# Notes into the plug-in while it runs.
jack_midiseq zarnelseq 22050 0 60 11025 11025 64 5000 >/dev/null 2>&1 &
pids+=($!)
sleep 0.5
midi_in="$(jack_lsp -p -t zarnel | paste - - - | grep input | grep midi | head -1 | cut -f1)"
jack_connect zarnelseq:out "$midi_in" || fail "could not connect MIDI into $midi_in"

echo presets >&3
echo controls >&3
sleep 3
kill -0 "$jalv" 2>/dev/null || { wait "$jalv"; fail "jalv ended while running (exit code $?)"; }

kill -INT "$jalv"
for _ in $(seq 20); do
    kill -0 "$jalv" 2>/dev/null || break
    sleep 0.25
done
kill -0 "$jalv" 2>/dev/null && fail "jalv did not quit on SIGINT"
wait "$jalv"
rc=$?
exec 3>&-

cat "$work/jalv.log"
[ "$rc" -eq 0 ] || fail "jalv exit code $rc"
presets=$(grep -c "Untitled" "$work/jalv.log" || true)
[ "$presets" -eq 128 ] || fail "jalv listed $presets programs as presets, expected 128"
echo "jalv ran and quit cleanly"
rm -rf "$work"
