#!/usr/bin/env bash
# The real game under Xvfb with SDL's disk audio driver, started with sound and music saved as
# off: the first three seconds of what it sends to the sound device must be silence (every byte
# 0). The driver writes at the device's own pace, so the script waits for the file to hold those
# samples, then ends the game as the system would (SIGTERM).
#   tests/smoke/silent_start.sh path/to/saltfang
set -euo pipefail
source "$(dirname "$0")/common.sh"
run_inside_xvfb "$@"
exe="$(readlink -f "$1")"
work="$(mktemp -d)"
pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
copy_game_data "$(dirname "$exe")" "$work"
cd "$work"

# Windowed, music off, sound off, F12, no name, the default table.
config_bytes 1 0 0 "" >Config.cfg

# The device format: 44100 Hz, 16-bit, stereo. Checked: the first three seconds, and at least
# half a second beyond the first presented frame, by which time the menus have been built (each
# of their button collections selects its first item) even on a slow machine.
second=$((44100 * 2 * 2))
bytes=$((3 * second))
audio="$work/audio.raw"
SALTFANG_FRAME_LOG=1 SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$audio" "$exe" >"$work/out.log" 2>&1 &
pid=$!
size_of() { stat -c %s "$audio" 2>/dev/null || echo 0; }
framed=""
for _ in $(seq 600); do  # gives up after a minute
  kill -0 "$pid" 2>/dev/null || { echo "the game ended early" >&2; cat "$work/out.log" >&2; exit 1; }
  if [ -z "$framed" ] && grep -q '^first-frame-ms' "$work/out.log"; then
    framed=1
    after=$(($(size_of) + second / 2))
    [ "$after" -gt "$bytes" ] && bytes=$after
  fi
  [ -n "$framed" ] && [ "$(size_of)" -ge "$bytes" ] && break
  sleep 0.1
done
size=$(size_of)
kill -TERM "$pid"
wait "$pid" || true
pid=""
if [ -z "$framed" ] || [ "$size" -lt "$bytes" ]; then
  echo "no frame, or the disk audio driver wrote only $size of $bytes bytes" >&2
  cat "$work/out.log" >&2
  exit 1
fi
if ! cmp -s -n "$bytes" "$audio" /dev/zero; then
  first=$(cmp -n "$bytes" "$audio" /dev/zero | sed -n 's/.*byte \([0-9]*\).*/\1/p' || true)
  echo "sound at start-up: the first non-zero byte is $first of $bytes" >&2
  exit 1
fi
echo "silent start: the first $bytes bytes ($((bytes * 1000 / second)) ms) of output are all 0"
