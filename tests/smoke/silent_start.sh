#!/usr/bin/env bash
# The real game under Xvfb with SDL's disk audio driver, started with sound and music saved as
# off: the first three seconds of what it sends to the sound device must be silence (every byte
# 0). The driver writes at the device's own pace, so the script waits for the file to hold those
# samples, then ends the game as the system would (SIGTERM).
#   tests/smoke/silent_start.sh path/to/saltfang
set -euo pipefail
exe="$(readlink -f "$1")"
if [ -z "${SALTFANG_INSIDE_XVFB:-}" ]; then
  export SALTFANG_INSIDE_XVFB=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

game_dir="$(dirname "$exe")"
work="$(mktemp -d)"
pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
cp -r "$game_dir/Data" "$game_dir/sound" "$work/"
[ -f "$game_dir/font.ttf" ] && cp "$game_dir/font.ttf" "$work/"
cd "$work"

# Windowed, music off, sound off, F12, no name, the default table.
inv() { printf "\\$(printf '%03o' $((255 - $(printf '%d' "'$1"))))"; }
{
  printf '\001\000\000\173\000'
  for score in 1000 900 800 700 600 500 400 300 200 100; do
    printf '\011'
    for c in A n o n y m o u s; do inv "$c"; done
    printf "\\$(printf '%03o' $((score & 255)))\\$(printf '%03o' $((score >> 8)))\\000\\000"
  done
} >Config.cfg

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
