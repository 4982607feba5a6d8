#!/usr/bin/env bash
# The real game in a real window under Xvfb, driven like a player with xdotool, in a copy of the
# game folder without "Config.cfg": wait for the intro, open the options, switch music and sound
# off, type a player name, go back, play a short game and leave it, then quit through the exit
# question. Passes when the program ends by itself with status 0 and "Config.cfg" holds exactly
# the expected bytes. The script never waits a fixed time: it follows the game's frame log, since
# every step it waits for (the intro, the level intro, the game-over picture) lasts a number of
# frames.
set -euo pipefail
source "$(dirname "$0")/common.sh"
run_inside_xvfb "$@"
exe="$(readlink -f "$1")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
copy_game_data "$(dirname "$exe")" "$work"
cd "$work"

SDL_AUDIODRIVER=dummy SALTFANG_FRAME_LOG=1 "$exe" >"$work/out.log" 2>"$work/frames.log" &
pid=$!
wid="$(timeout 20 xdotool search --sync --name '^Salt Fang$' | head -n 1)"
xdotool windowfocus --sync "$wid"
k() { xdotool key --delay 60 --window "$wid" "$@"; }
game_log="$work"
coproc GAME_FRAMES { exec tail -n +1 -f --pid="$pid" "$work/frames.log"; }
frames() { game_frames "$1" || exit 1; }
frames 180                               # the intro slides in (176 frames)
k Down Return                            # Options
k Down Right                             # music off
k Down Right                             # sound off
k Down Return s a m Return               # type the name "Sam"
k Escape                                 # back to the main menu
k Up Return                              # new game
frames 170                               # the level intro
xdotool keydown --window "$wid" Left
frames 40                                # the ship moves left
xdotool keyup --window "$wid" Left
k Escape Return                          # "Exit the game?" Yes
frames 170                               # the game-over picture, then the main menu
k Escape Return                          # "Exit  the game?" Yes
status=0
timeout 20 tail --pid="$pid" -f /dev/null || {
  echo "the game did not end after the exit question" >&2
  kill "$pid" || true
  status=1
}
wait "$pid" || status=$?
if [ "$status" != 0 ]; then
  cat "$work/out.log" "$work/frames.log" >&2
  exit "$status"
fi

# Expected settings: windowed, music off, sound off, F12, "Sam", the default table.
expected="$work/expected.cfg"
config_bytes 1 0 0 Sam >"$expected"
if ! cmp "$work/Config.cfg" "$expected"; then
  echo "Config.cfg differs from the expected bytes:" >&2
  od -An -tu1 "$work/Config.cfg" >&2
  exit 1
fi
echo "real window smoke test passed"
