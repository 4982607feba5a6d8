#pragma once

namespace sf {

// The ten sound effects, by index.
enum SoundId : int {
  sndCheckMenu = 0,
  sndWin = 1,
  sndLoose = 2,
  sndShot = 3,
  sndSnarad = 4,
  sndBomba = 5,
  sndExpl = 6,
  sndVert = 7,
  sndHit = 8,
  sndBonus = 9,
};
inline constexpr int kSoundCount = 10;

}  // namespace sf
