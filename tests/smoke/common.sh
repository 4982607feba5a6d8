# What the real-window scripts share; sourced, with the script's own arguments.

# Runs the calling script again inside a fresh Xvfb display, once.
run_inside_xvfb() {
  if [ -z "${SALTFANG_INSIDE_XVFB:-}" ]; then
    export SALTFANG_INSIDE_XVFB=1
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
  fi
}

# Copies the game's data, music and font beside the executable into the folder, without any
# "Config.cfg".
copy_game_data() {
  local game_dir="$1" to="$2"
  cp -r "$game_dir/Data" "$game_dir/sound" "$to/"
  if [ -f "$game_dir/font.ttf" ]; then cp "$game_dir/font.ttf" "$to/"; fi
}

# The bytes of "Config.cfg" with the three flags (windowed, music, sound: 0 or 1), F12 as the
# minimise key, the player name and the default table: each string is its length, then its
# characters with every bit inverted; each score four bytes, lowest first.
config_bytes() {
  local windowed="$1" music="$2" sound="$3" name="$4" score c
  inverted() {
    local text="$1" i
    printf "\\$(printf '%03o' "${#text}")"
    for ((i = 0; i < ${#text}; i++)); do
      printf "\\$(printf '%03o' $((255 - $(printf '%d' "'${text:i:1}"))))"
    done
  }
  printf "\\$(printf '%03o' "$windowed")\\$(printf '%03o' "$music")\\$(printf '%03o' "$sound")\\173"
  inverted "$name"
  for score in 1000 900 800 700 600 500 400 300 200 100; do
    inverted Anonymous
    printf "\\$(printf '%03o' $((score & 255)))\\$(printf '%03o' $((score >> 8)))\\000\\000"
  done
}

# The game's frame log (one line a second: "presents N at-ms T") in "$game_log/frames.log", read
# as it grows through the coprocess GAME_FRAMES, which the caller starts.
# Frames presented so far.
game_presents() { awk '/^presents/ { n = $2 } END { print n + 0 }' "$game_log/frames.log"; }

# Blocks until the game has presented `$1` more frames than now; fails when the log stays silent
# for 10 s or the game ends first.
game_frames() {
  local want=$(($(game_presents) + $1)) word count rest
  while IFS=' ' read -r -t 10 word count rest <&"${GAME_FRAMES[0]}"; do
    if [ "$word" = presents ] && [ "$count" -ge "$want" ]; then return 0; fi
  done
  echo "the game did not present $1 more frames (at $(game_presents) of $want)" >&2
  cat "$game_log/out.log" "$game_log/frames.log" >&2
  return 1
}
