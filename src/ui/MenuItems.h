#pragma once
#include <cstdint>

namespace sf {

// The main menu's buttons, top to bottom (its Index).
enum class MainMenuItem : int32_t { NewGame = 0, Options = 1, HighScores = 2, Help = 3, MoreGames = 4, Exit = 5 };

// The options page's cursor positions: two choices on each of the display, music and sound rows,
// then the name field and the minimise-key button.
enum class OptionsItem : int32_t {
  Windowed = 0,
  FullScreen = 1,
  MusicOn = 2,
  MusicOff = 3,
  SoundOn = 4,
  SoundOff = 5,
  PlayerName = 6,
  MinimizeKey = 7,
};

// The buttons under the high-score table and on the help pages (their Index).
enum class HighScoreButton : int32_t { Clear = 0, WorldTable = 1 };
enum class HelpButton : int32_t { Previous = 0, Next = 1 };

}  // namespace sf
