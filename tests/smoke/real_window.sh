#!/usr/bin/env bash
# Starts the real game in a real window under Xvfb, skips the intro with a click, walks into the
# options page and back, asks to exit with Esc and confirms with Enter. Passes when the program
# ends by itself with status 0 and has written its settings file.
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

SDL_AUDIODRIVER=dummy "$exe" >"$work/out.log" 2>&1 &
pid=$!
wid="$(timeout 20 xdotool search --sync --name '^Salt Fang$' | head -n 1)"
xdotool windowfocus --sync "$wid"
xdotool mousemove --window "$wid" 400 300 click 1   # skips the intro
xdotool key --window "$wid" Down Return              # options page
xdotool key --window "$wid" Escape                   # back to the main menu
xdotool key --window "$wid" Escape                   # "Exit  the game?"
xdotool key --window "$wid" Return                   # Yes
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
test -s "$work/Config.cfg" || { echo "Config.cfg was not written" >&2; exit 1; }
echo "real window smoke test passed"
