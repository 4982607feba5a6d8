#pragma once
#include <cstdint>

#include "gfx/Surface.h"

namespace sf {

class TGame;

// The endlessly scrolling sea; it also brings the islands.
class TRunBackground {
 public:
  explicit TRunBackground(TGame& game) : Game(game) {}
  void Step(Surface& target);

  TGame& Game;
  int16_t Offset = 0;
  uint32_t Now = 0;
  uint32_t LastScroll = 0;
};

// An island drifting down with the sea; half of them carry a gun (an enemy of kind 4).
class TIsland {
 public:
  // Must be built in its slot of the game's islands: its gun keeps a reference to its Y.
  TIsland(TGame& game, uint8_t slot);
  TIsland(const TIsland&) = delete;
  TIsland& operator=(const TIsland&) = delete;
  ~TIsland();
  // False when the island has passed the bottom of the screen.
  bool Step(Surface& target);

  TGame& Game;
  int16_t X;
  int16_t Y;
  uint8_t Kind;
  uint8_t Slot;
  uint8_t GunSlot;
  uint32_t Now = 0;
  uint32_t LastScroll = 0;
};

}  // namespace sf
