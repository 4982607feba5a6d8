#include "game/MyShip.h"

#include "game/Game.h"
#include "gfx/DrawOps.h"

namespace sf {

TMyShip::TMyShip(TGame& game)
    : Game(game),
      Gunners{TGunner(game, gunMachineGun, patBullet, 0, &X, &Y, true, kPlayerGunMin, kPlayerGunMax),
              TGunner(game, gunCannon, patShell, 1, &X, &Y, true, kPlayerGunMin, kPlayerGunMax),
              TGunner(game, gunLauncher, patRocket, 2, &X, &Y, true, kPlayerGunMin, kPlayerGunMax)} {}

uint8_t TMyShip::GunnerForWeapon() const {
  const uint8_t weapon = Game.Weapon;
  if (weapon == 0) return 0;
  if (weapon <= 2) return 1;
  return 2;
}

Rect TMyShip::GetBox() const { return Rect{X, Y, X + kShipBoxWidth, Y + kShipBoxHeight}; }

void TMyShip::TakeDamage(uint8_t amount) { Game.Health = static_cast<int16_t>(Game.Health - amount); }

void TMyShip::Step(Surface& target) {
  // A weapon number from outside the five falls back to the machine gun.
  if (Game.Weapon >= kWeaponCount) Game.Weapon = 0;
  const uint8_t g = GunnerForWeapon();
  TGunner& gun = Gunners[g];
  gun.Pattern = PatternForWeapon(Game.Weapon);

  if (Game.Health > kMaxHealth) Game.Health = kMaxHealth;

  // The same reading a replay's identity takes of the step (StepControls).
  const uint8_t controls = StepControls(StepInputs{0, HeldGameKeys(Game.Host.KeyboardState()), Game.Mouse});
  if (Game.Phase == phasePlaying) {
    if (controls & kControlLeft) X = static_cast<int16_t>(X - 6);
    if (controls & kControlRight) X = static_cast<int16_t>(X + 6);
    if (controls & kControlUp) gun.Angle += 0.03;
    if (controls & kControlDown) gun.Angle -= 0.03;
  }

  // Idle guns swing back towards their rest position.
  for (uint8_t i = 0; i < Gunners.size(); ++i) {
    if (i == g) continue;
    TGunner& idle = Gunners[i];
    if (idle.Angle < kPlayerGunRest) idle.Angle += 0.05;
    if (idle.Angle > kPlayerGunRest) idle.Angle -= 0.05;
  }

  Now = Game.Tick();
  if (Now - LastAnim > 60) {
    Frame = Frame == 0 ? 1 : 0;
    LastAnim = Game.Tick();
  }

  const bool fireHeld = (controls & kControlFire) != 0;
  uint16_t& ammo = Game.Ammo[Game.Weapon];
  if (fireHeld && Game.Phase == phasePlaying && ammo > 0 && gun.TryFire()) {
    ammo = static_cast<uint16_t>(ammo - 1);
    if (ammo < 1) Game.Weapon = 0;
  }

  if (g == 0) Game.Ammo[0] = kUnlimitedAmmo;

  if (Y > 480) Y = 480;
  if (Y < 40) Y = 40;
  if (X > 578) X = 578;
  if (X < 196) X = 196;

  DrawClipped(Game.Images.Game(imgShip), target,
              Rect{kShipSpriteWidth * Frame, 0, kShipSpriteWidth * Frame + kShipSpriteWidth, kShipSpriteHeight}, X, Y);

  for (TGunner& each : Gunners) each.Step(target, true);

  if (Game.Phase == phasePlaying && Game.Health <= 0) {
    for (auto& hit : Game.Hits) hit.reset();
    Game.Phase = phaseWindDown;
    for (int i = 0; i < 9; ++i) {
      const auto x = static_cast<int16_t>(X - 5 - Game.RandInt(15));
      const auto y = static_cast<int16_t>(Y + Game.RandInt(60));
      Game.SpawnHit(x, y, hitExplosion, static_cast<int8_t>(-120 + 15 * i));
    }
    Game.Lives = static_cast<int16_t>(Game.Lives - 1);
  }
}

}  // namespace sf
