#!/usr/bin/env bash
# The real game in a real window under Xvfb, driven like a player with xdotool, in a copy of the
# game folder without "Config.cfg": wait for the intro, open the options, switch music and sound
# off, type a player name, go back, play a short game and leave it, then quit through the exit
# question. Passes when the program ends by itself with status 0 and "Config.cfg" holds exactly
# the expected bytes.
set -euo pipefail
exe="$(readlink -f "$1")"
if [ -z "${SALTFANG_INSIDE_XVFB:-}" ]; then
  export SALTFANG_INSIDE_XVFB=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

game_dir="$(dirname "$exe")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp -r "$game_dir/Data" "$game_dir/sound" "$work/"
[ -f "$game_dir/font.ttf" ] && cp "$game_dir/font.ttf" "$work/"
cd "$work"

SALTFANG_FRAME_LOG=1 SDL_AUDIODRIVER=dummy "$exe" >"$work/out.log" 2>&1 &
pid=$!
# Waits until the game has presented n more frames (it logs its count once a second). The game
# runs at most 64 frames a second, so this is never shorter than n/64 seconds, and a slow,
# loaded machine simply takes longer instead of receiving keys too early.
presents() { sed -n 's/^presents \([0-9]*\) .*/\1/p' "$work/out.log" | tail -n 1; }
wait_frames() {
  local target=$(($(presents || echo 0) + $1))
  for _ in $(seq 600); do
    [ "$(presents)" -ge "$target" ] 2>/dev/null && return 0
    sleep 0.1
  done
  echo "the game did not draw $1 frames within a minute" >&2
  return 1
}
wid="$(timeout 20 xdotool search --sync --name '^Salt Fang$' | head -n 1)"
xdotool windowfocus --sync "$wid"
k() { xdotool key --delay 60 --window "$wid" "$@"; }
wait_frames 180                          # the intro slides in (176 frames)
k Down Return                            # Options
k Down Right                             # music off
k Down Right                             # sound off
k Down Return s a m Return               # type the name "Sam"
k Escape                                 # back to the main menu
k Up Return                              # new game
wait_frames 160                          # the level intro
xdotool keydown --window "$wid" Left sleep 0.6 keyup --window "$wid" Left
k Escape Return                          # "Exit the game?" Yes
wait_frames 170                          # the game-over picture, then the main menu
k Escape Return                          # "Exit  the game?" Yes
status=0
timeout 20 tail --pid="$pid" -f /dev/null || {
  echo "the game did not end after the exit question" >&2
  kill "$pid" || true
  status=1
}
wait "$pid" || status=$?
if [ "$status" != 0 ]; then
  cat "$work/out.log" >&2
  exit "$status"
fi

# Expected settings: windowed, music off, sound off, F12, "Sam", the default table.
expected="$work/expected.cfg"
inv() { printf "\\$(printf '%03o' $((255 - $(printf '%d' "'$1"))))"; }
{
  printf '\001\000\000\173\003'
  inv S; inv a; inv m
  for score in 1000 900 800 700 600 500 400 300 200 100; do
    printf '\011'
    for c in A n o n y m o u s; do inv "$c"; done
    printf "\\$(printf '%03o' $((score & 255)))\\$(printf '%03o' $((score >> 8)))\\000\\000"
  done
} >"$expected"
if ! cmp "$work/Config.cfg" "$expected"; then
  echo "Config.cfg differs from the expected bytes:" >&2
  od -An -tu1 "$work/Config.cfg" >&2
  exit 1
fi
echo "real window smoke test passed"
