#pragma once
#include <array>
#include <cstdint>
#include <optional>

#include "audio/SoundIds.h"
#include "core/Rect.h"
#include "game/GameTables.h"
#include "gfx/Surface.h"

namespace sf {

class TGame;

// One projectile in flight. It keeps the heading it was fired with.
class TPulya {
 public:
  TPulya(ProjectileKind kind, int16_t x, int16_t y, double heading);

  // Draws the projectile, then moves it one step along its heading.
  void Step(TGame& game, Surface& target);
  Rect GetBox() const;

  ProjectileKind Kind;
  float Y;
  float X;
  double Heading;
};

// A gun turret with its projectiles. The same class arms the player's ship and the enemies; only
// IsPlayer decides what its projectiles seek and whether it fires on its own.
class TGunner {
 public:
  TGunner(TGame& game, Gun gunKind, FiringPattern pattern, uint8_t slot, const int16_t* ownerX, const int16_t* ownerY,
          bool isPlayer, float minAngle, float maxAngle);
  TGunner(const TGunner&) = delete;
  TGunner& operator=(const TGunner&) = delete;

  // One projectile (or, for the drop kind, one bonus) from the muzzle.
  void Fire(ProjectileKind kind, SoundId sound, double heading, int16_t dx, int16_t dy);
  // Fires the pattern when the cool-down has passed; true when it fired.
  bool TryFire();
  // Moves, tests and draws the projectiles; clamps and draws the turret; lets an enemy gun fire.
  void Step(Surface& target, bool drawTurret);
  // Removes every projectile.
  void DestroyShots();
  int ShotCount() const;

  TGame& Game;
  std::array<std::optional<TPulya>, 21> Shots;
  const int16_t* OwnerX;
  const int16_t* OwnerY;
  uint8_t Slot;
  int8_t InFlight = 0;
  double Angle;
  float MinAngle;
  float MaxAngle;
  int16_t OffsetX;
  int16_t OffsetY;
  int16_t AimX = 0;
  int16_t AimY = 0;
  bool IsPlayer;
  Gun GunKind;
  FiringPattern Pattern;
  uint32_t Now = 0;
  uint32_t LastShot;

 private:
  // Tests one projectile against its targets; false when it ended (left the field or struck).
  bool TestShot(TPulya& shot);
};

}  // namespace sf
