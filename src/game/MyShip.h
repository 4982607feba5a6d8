#pragma once
#include <array>
#include <cstdint>

#include "core/Rect.h"
#include "game/Gunner.h"
#include "gfx/Surface.h"

namespace sf {

class TGame;

// The player's ship with its three gun turrets.
class TMyShip {
 public:
  explicit TMyShip(TGame& game);
  TMyShip(const TMyShip&) = delete;
  TMyShip& operator=(const TMyShip&) = delete;

  void Step(Surface& target);
  void TakeDamage(uint8_t amount);
  // Gun 0 for weapon 0, gun 1 for weapons 1 and 2, gun 2 for weapons 3 and 4.
  uint8_t GunnerForWeapon() const;
  // The 26 x 93 box that every collision with the ship uses.
  Rect GetBox() const;

  TGame& Game;
  int16_t X = 0;
  int16_t Y = 0;
  uint8_t Frame = 0;
  std::array<TGunner, 3> Gunners;
  uint32_t Now = 0;
  uint32_t LastAnim = 0;
};

}  // namespace sf
