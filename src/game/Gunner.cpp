#include "game/Gunner.h"

#include <numbers>

#include "game/Game.h"
#include "game/SimMath.h"
#include "gfx/DrawOps.h"

namespace sf {

namespace {

constexpr double kQuarterTurn = std::numbers::pi / 2;

// The projectile kind a firing pattern shoots; pulDrop for the supply plane's drop.
ProjectileKind PatternProjectile(FiringPattern pattern) {
  switch (pattern) {
    case patBullet: return pulBullet;
    case patShell:
    case patTwinShell: return pulShell;
    case patDropBonus: return pulDrop;
    case patRocket:
    case patTripleRocket:
    case patHeliRocket: break;
  }
  return pulRocket;
}

}  // namespace

TPulya::TPulya(ProjectileKind kind, int16_t x, int16_t y, double heading)
    : Kind(kind), Y(static_cast<float>(y)), X(static_cast<float>(x)), Heading(heading) {}

Rect TPulya::GetBox() const {
  const Size16 size = Info(Kind).Size;
  const int32_t left = simmath::RoundHalfEven(X);
  const int32_t top = simmath::RoundHalfEven(Y);
  return Rect{left, top, left + size.Width, top + size.Height};
}

void TPulya::Step(TGame& game, Surface& target) {
  const ProjectileInfo& info = Info(Kind);
  DrawRotated(game.Images.Game(imgProjectile + Index(Kind)), target, info.PivotX, info.PivotY, Heading,
              static_cast<uint16_t>(info.Size.Width), static_cast<uint16_t>(info.Size.Height),
              static_cast<uint16_t>(simmath::RoundHalfEven(X)), static_cast<uint16_t>(simmath::RoundHalfEven(Y)));
  X = static_cast<float>(X + simmath::Cos(Heading + kQuarterTurn) * info.Speed);
  Y = static_cast<float>(Y + simmath::Sin(Heading + kQuarterTurn) * info.Speed);
}

TGunner::TGunner(TGame& game, Gun gunKind, FiringPattern pattern, uint8_t slot, const int16_t* ownerX,
                 const int16_t* ownerY, bool isPlayer, float minAngle, float maxAngle)
    : Game(game),
      OwnerX(ownerX),
      OwnerY(ownerY),
      Slot(slot),
      Angle(isPlayer ? kPlayerGunRest : 0.0),
      MinAngle(minAngle),
      MaxAngle(maxAngle),
      OffsetX(kTurretSlots[slot].OffsetX),
      OffsetY(kTurretSlots[slot].OffsetY),
      IsPlayer(isPlayer),
      GunKind(gunKind),
      Pattern(pattern),
      LastShot(game.Tick()) {}

void TGunner::Fire(ProjectileKind kind, SoundId sound, double heading, int16_t dx, int16_t dy) {
  const TurretSlotInfo& slot = kTurretSlots[Slot];
  const int32_t barrel = Info(GunKind).Barrel;
  const auto x = static_cast<int16_t>(dx + *OwnerX + OffsetX + slot.MuzzleX +
                                      simmath::RoundHalfEven(simmath::Cos(heading + kQuarterTurn) * barrel));
  const auto y = static_cast<int16_t>(dy + *OwnerY + OffsetY + slot.MuzzleY +
                                      simmath::RoundHalfEven(simmath::Sin(heading + kQuarterTurn) * barrel));

  if (kind == pulDrop) {
    const uint8_t free = Game.FirstFreeBonusSlot();
    if (free != kNoSlot)
      Game.Bonuses[free].emplace(Game, static_cast<int16_t>(*OwnerX + 36), static_cast<int16_t>(*OwnerY + 80));
    return;
  }
  for (auto& shot : Shots) {
    if (!shot) {
      shot.emplace(kind, x, y, heading);
      Game.Host.PlaySoundAt(x, y, sound);
      InFlight = static_cast<int8_t>(InFlight + 1);
      return;
    }
  }
}

bool TGunner::TryFire() {
  Now = Game.Tick();
  if (Info(GunKind).CoolDown >= Now - LastShot) return false;

  const ProjectileKind projectile = PatternProjectile(Pattern);
  if (projectile != pulDrop) {
    const Size16 size = Info(projectile).Size;
    AimX = static_cast<int16_t>(*OwnerX + size.Width / 2);
    AimY = static_cast<int16_t>(*OwnerY + size.Height / 2);
  }

  const double a = Angle;
  switch (Pattern) {
    case patBullet: Fire(pulBullet, sndShot, a, 5, 0); break;
    case patShell: Fire(pulShell, sndSnarad, a, 0, 0); break;
    case patTwinShell:
      Fire(pulShell, sndSnarad, a, -5, 0);
      Fire(pulShell, sndSnarad, a, 5, 0);
      break;
    case patRocket: Fire(pulRocket, sndSnarad, a, 0, 0); break;
    case patTripleRocket:
      Fire(pulRocket, sndSnarad, a, 0, 0);
      Fire(pulRocket, sndSnarad, a + 0.5, 0, 0);
      Fire(pulRocket, sndSnarad, a - 0.5, 0, 0);
      break;
    case patDropBonus: Fire(pulDrop, sndShot, a, 0, 0); break;
    case patHeliRocket: Fire(pulRocket, sndSnarad, a, -30, -80); break;
  }
  LastShot = Game.Tick();
  return true;
}

bool TGunner::TestShot(TPulya& shot) {
  if (shot.Y < 0 || shot.Y > kPlayfieldBottom || shot.X < kPlayfieldLeft || shot.X > kPlayfieldRight) {
    InFlight = static_cast<int8_t>(InFlight - 1);
    return false;
  }
  const Rect box = shot.GetBox();
  const uint8_t damage = Info(shot.Kind).Damage;
  if (IsPlayer) {
    // While playing at most five enemies exist and they hold the lowest slots.
    for (int i = 0; i < 6; ++i) {
      auto& enemy = Game.Engine.Slots[static_cast<size_t>(i)];
      if (!enemy || enemy->Kind == enmSupplyPlane) continue;
      if (RectsIntersect(box, enemy->GetBox())) {
        Game.SpawnHit(static_cast<int16_t>(box.Left), static_cast<int16_t>(box.Top), hitImpact, 0);
        enemy->LifeBar.Visible = true;
        enemy->HP -= damage;
        return false;
      }
    }
  } else if (RectsIntersect(box, Game.Ship.GetBox())) {
    Game.SpawnHit(static_cast<int16_t>(Game.Ship.X - 13), static_cast<int16_t>(box.Top), hitImpact, 0);
    Game.Ship.TakeDamage(damage);
    return false;
  }
  return true;
}

void TGunner::Step(Surface& target, bool drawTurret) {
  Now = Game.Tick();
  for (auto& shot : Shots) {
    if (!shot) continue;
    if (!TestShot(*shot)) {
      shot.reset();
      continue;
    }
    shot->Step(Game, target);
  }

  if (Angle > MaxAngle) Angle = MaxAngle;
  if (Angle < MinAngle) Angle = MinAngle;

  if (drawTurret && GunKind != gunHatch) {
    const GunKindInfo& gun = Info(GunKind);
    DrawRotated(Game.Images.Game(imgTurret + Index(GunKind)), target, gun.PivotX, gun.PivotY, Angle,
                static_cast<uint16_t>(gun.Size.Width), static_cast<uint16_t>(gun.Size.Height),
                static_cast<uint16_t>(*OwnerX + OffsetX), static_cast<uint16_t>(*OwnerY + OffsetY));
  }

  if (!IsPlayer && Now - LastShot > 1000 && Game.RandInt(100) == 1 && InFlight < 50) {
    TryFire();
    LastShot = Game.Tick();
  }
}

void TGunner::DestroyShots() {
  for (auto& shot : Shots) shot.reset();
  InFlight = 0;
}

int TGunner::ShotCount() const {
  int n = 0;
  for (const auto& shot : Shots) n += shot ? 1 : 0;
  return n;
}

}  // namespace sf
