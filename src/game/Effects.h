#pragma once
#include <cstdint>

#include "core/Rect.h"
#include "game/GameTables.h"
#include "gfx/Surface.h"

namespace sf {

class TGame;

// A bonus dropped by the supply plane, falling one pixel a step until caught or gone.
class TBonus {
 public:
  TBonus(TGame& game, int16_t x, int16_t y);
  // False when the bonus ended (caught or fallen off the screen).
  bool Step(Surface& target);
  Rect GetBox() const;
  // The effect of catching it.
  void Apply();

  TGame& Game;
  BonusKind Kind;
  int16_t X;
  int16_t Y;
};

// An explosion or an impact flash: 16 frames of 64 x 64; a negative start frame delays it.
class THit {
 public:
  THit(TGame& game, HitKind kind, uint8_t slot, int16_t x, int16_t y, int8_t startFrame);
  // False when the animation has ended.
  bool Step(Surface& target);

  TGame& Game;
  HitKind Kind;
  uint8_t Slot;
  int16_t X;
  int16_t Y;
  int16_t Frame;
  uint32_t Now = 0;
  uint32_t LastFrame = 0;
};

// The life bar above an enemy: shown for 101 steps after the enemy was struck.
class TLineLive {
 public:
  TLineLive(const int16_t* x, const int16_t* y, const int32_t* hp, int32_t fullLength, int32_t maxHp);
  void Draw(Surface& target);

  const int16_t* X;
  const int16_t* Y;
  const int32_t* HP;
  bool Visible = false;
  float Ratio;
  uint16_t Counter = 0;
};

// A score floating up from a destroyed enemy for 80 steps.
class TRunScore {
 public:
  TRunScore(int16_t x, int16_t y, int16_t value);
  // False when it ended.
  bool Step(TGame& game, Surface& target);

  int16_t X;
  int16_t Y;
  int16_t Value;
  int16_t Counter = 0;
};

}  // namespace sf
