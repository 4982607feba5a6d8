#!/usr/bin/env bash
# The real game started without its data (the executable copied alone into an empty folder) under
# Xvfb: a message box a player can see must say so, and Enter on it ends the program with a
# failure status and the same words on stderr.
#   tests/smoke/no_data.sh path/to/saltfang
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
cp "$exe" "$work/"
cd "$work"
SDL_AUDIODRIVER=dummy "./$(basename "$exe")" >"$work/out.log" 2>&1 &
pid=$!
# The box is a window of that title without the game's window class.
wid=""
colours=0
for _ in $(seq 200); do  # gives up after about 20 s
  kill -0 "$pid" 2>/dev/null || { echo "the program ended without a message box" >&2; cat "$work/out.log" >&2; exit 1; }
  wid=$(xwininfo -root -tree | awk '/"Salt Fang": \(\)/ { print $1; exit }')
  if [ -z "$wid" ]; then
    sleep 0.1
    continue
  fi
  # It holds text once drawn: more than the two colours of an empty frame.
  import -window "$wid" "$work/box.png" 2>/dev/null || true
  colours=$(convert "$work/box.png" -format '%k' info: 2>/dev/null || echo 0)
  [ "$colours" -gt 2 ] && break
  sleep 0.1
done
[ "$colours" -gt 2 ] || { echo "the message box stays empty ($colours colours)" >&2; exit 1; }
xdotool windowfocus --sync "$wid" key Return
status=0
timeout 20 tail --pid="$pid" -f /dev/null || { echo "the program did not end after the box" >&2; exit 1; }
wait "$pid" || status=$?
pid=""
[ "$status" != 0 ] || { echo "the program ended with success without its data" >&2; exit 1; }
grep -q "cannot open the pack" "$work/out.log" || { echo "stderr does not say why" >&2; cat "$work/out.log" >&2; exit 1; }
echo "no data: a message box with $colours colours, then status $status"
