# What the Wine checks share; sourced. The caller runs under `set -euo pipefail`, inside Xvfb
# (tests/smoke/common.sh: run_inside_xvfb) when it starts the game.

# Uses the Wine prefix $1 from now on: quiet, without the Mono and Gecko installer dialogs, and
# without menu entries or file types for the host's desktop (winemenubuilder).
wine_use_prefix() {
  export WINEPREFIX="$1"
  export WINEDEBUG="${WINEDEBUG:--all}"
  export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
}

# Creates the prefix when it is not there yet.
wine_make_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "$(basename "$0"): creating the Wine prefix $WINEPREFIX" >&2
    wineboot -i >/dev/null 2>&1 || true
    timeout 120 wineserver -w
  fi
}

# Waits until every program in the prefix has ended, the helpers an uninstaller starts too;
# fails after $1 seconds.
wine_wait_idle() {
  timeout "$1" wineserver -w
}

# The value of a Windows environment variable in the prefix, e.g. wine_var APPDATA.
wine_var() {
  wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'
}

# The Unix path of a Windows path in the prefix.
wine_unix_path() {
  winepath -u "$1" 2>/dev/null | tr -d '\r'
}

# The game in a window, driven like a player with xdotool. It runs with the frame log on (one line
# a second on its standard error: "presents N at-ms T"), so the steps wait for a number of drawn
# frames instead of a time.
#   game_start WORKING_DIR LOG_DIR COMMAND...   starts the game; sets game_pid and game_wid
#   game_frames N                               blocks until the game has drawn N more frames
#   game_keys KEY...                            key presses into the game's window
#   game_end                                    waits for the game to end by itself, status 0
game_start() {
  local dir="$1"
  game_log="$2"
  shift 2
  : >"$game_log/out.log"
  : >"$game_log/frames.log"
  (cd "$dir" && SDL_AUDIODRIVER=dummy SALTFANG_FRAME_LOG=1 exec "$@" >"$game_log/out.log" 2>"$game_log/frames.log") &
  game_pid=$!
  game_wid="$(timeout 60 xdotool search --sync --name '^Salt Fang$' | head -n 1)" || true
  if [ -z "$game_wid" ]; then
    echo "no \"Salt Fang\" window appeared" >&2
    cat "$game_log/out.log" "$game_log/frames.log" >&2
    kill "$game_pid" 2>/dev/null || true
    return 1
  fi
  xdotool windowfocus --sync "$game_wid"
  # The frame log as the game writes it, read as it grows.
  coproc GAME_FRAMES { exec tail -n +1 -f --pid="$game_pid" "$game_log/frames.log"; }
}


game_keys() { xdotool key --delay 80 --window "$game_wid" "$@"; }

game_end() {
  local status=0
  if ! timeout 30 tail --pid="$game_pid" -f /dev/null; then
    echo "the game did not end after the exit question" >&2
    kill "$game_pid" 2>/dev/null || true
    status=1
  fi
  wait "$game_pid" || status=$?
  game_pid=""
  if [ "$status" != 0 ]; then
    echo "the game ended with status $status" >&2
    cat "$game_log/out.log" "$game_log/frames.log" >&2
    return "$status"
  fi
}
