#!/usr/bin/env bash
# vey-sim live under a virtual X server, driven like a person would: a click on the skip button
# and one on the artwork, then keys (next track, play/pause, route, dump, quit); checks what it
# printed and the dump it wrote.
# usage: run_live_test.sh VEY_SIM
set -euo pipefail
sim=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
xvfb_pid="" sim_pid=""
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; echo "--- stdout"; cat "$work/stdout" || true; echo "--- stderr"; cat "$work/stderr" || true; exit 1; }

# Xvfb picks a free display and writes its number to fd 3.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { cat "$work/xvfb.log"; echo "FAIL: Xvfb did not start"; exit 1; }
export DISPLAY=":$(cat "$work/display")"
export SDL_VIDEODRIVER=x11 SDL_RENDER_DRIVER=software

"$sim" live "$here/live.vey" --out "$work/out" >"$work/stdout" 2>"$work/stderr" &
sim_pid=$!
window=""
for _ in $(seq 100); do
  window=$(xdotool search --onlyvisible --name "vey-sim live" 2>/dev/null | head -n1) && [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || fail "no window"
eval "$(xdotool getwindowgeometry --shell "$window")" # X Y WIDTH HEIGHT
sleep 1 # the first frames

# Points of the 390 x 844 screen to the window's pixels.
click() {
  xdotool mousemove --sync "$(awk -v x="$1" -v o="$X" -v w="$WIDTH" 'BEGIN{printf "%d", o + x * w / 390}')" \
    "$(awk -v y="$2" -v o="$Y" -v h="$HEIGHT" 'BEGIN{printf "%d", o + y * h / 844}')"
  xdotool click 1
}
click 261 666 # the skip button
click 195 421 # the artwork's centre: the mini player follows
xdotool windowfocus --sync "$window"
for key in Right space r d q; do
  xdotool key "$key"
  sleep 0.2
done

status=0
for _ in $(seq 100); do kill -0 "$sim_pid" 2>/dev/null || break; sleep 0.1; done
wait "$sim_pid" || status=$?
sim_pid=""
[ "$status" -eq 0 ] || fail "exit status $status"
for line in "live: tap veyArtworkButton" "live: tap veySkipButton" "live: next track" \
            "live: pause" "live: route headphones" "live: dump dump-1.json" "live: quit"; do
  grep -qxF "$line" "$work/stdout" || fail "no line '$line'"
done
python3 - "$work/out/dump-1.json" <<'PY' || fail "the dump"
import json, sys
d = json.load(open(sys.argv[1]))
host = d["host"]
# The skip button asked the media controller once; the key moved on once more.
assert [c["command"] for c in host["mediaCommands"]] == ["changeTrack"], host["mediaCommands"]
assert host["nowPlaying"]["index"] == 2, host["nowPlaying"]
assert host["playing"] is False
assert host["route"] == "headphones"
assert d["time"] > 1
assert d["state"]["minimized"] is True, d["state"]
PY
echo "live end-to-end: ok"
