#include "game/Enemy.h"

#include "game/Game.h"
#include "game/SimMath.h"
#include "gfx/DrawOps.h"

namespace sf {

namespace {

// An island gun's pattern by its gun kind (one of the first three, chosen at random): the
// machine gun fires bullets, the cannon two shells, the launcher three rockets.
constexpr FiringPattern kIslandGunPatterns[3] = {patBullet, patTwinShell, patTripleRocket};

}  // namespace

TEnemyShip::TEnemyShip(TGame& game, EnemyKind kind)
    : Game(game),
      X(static_cast<int16_t>(118 + game.RandInt(400))),
      Y(static_cast<int16_t>(-Info(kind).Size.Height)),
      Kind(kind),
      HP(Info(kind).HitPoints),
      Gunner(game, Info(kind).GunKind, Info(kind).Pattern, static_cast<uint8_t>(Index(kind) + 3), &X, &Y, false,
             kEnemyGunMin, kEnemyGunMax),
      LifeBar(&X, &Y, &HP, Info(kind).Size.Width, Info(kind).HitPoints) {
  if (kind == enmIslandGun) {
    const auto g = static_cast<Gun>(game.RandInt(3));
    Gunner.GunKind = g;
    Gunner.Pattern = kIslandGunPatterns[Index(g)];
  }
  if (kind == enmSupplyPlane) Y = kSupplyPlaneStartY;
  Game.Engine.Count = static_cast<uint8_t>(Game.Engine.Count + 1);
}

TEnemyShip::~TEnemyShip() { Game.Engine.Count = static_cast<uint8_t>(Game.Engine.Count - 1); }

Rect TEnemyShip::GetBox() const {
  const Size16 size = Info(Kind).Size;
  return Rect{X, Y, X + size.Width, Y + size.Height};
}

void TEnemyShip::Aim() {
  const double px = Game.Ship.X;
  const double py = Game.Ship.Y;
  const double below = (Game.Ship.Y == Gunner.AimY + 40) ? 41.0 : 40.0;
  Gunner.Angle = -simmath::Atan((px - Gunner.AimX) / (py - Gunner.AimY - below));
}

void TEnemyShip::Move() {
  const bool armedShip = Kind <= enmIslandGun;
  if (armedShip) Aim();

  if (Kind == enmIslandGun) {
    if (IslandY != nullptr) Y = static_cast<int16_t>(*IslandY + IslandOffset);
  } else {
    Y = static_cast<int16_t>(Kind == enmSupplyPlane ? Y - 1 : Y + 2);
    if (Game.RandInt(100) == 2) Drift = static_cast<int8_t>(Game.RandInt(2) - 1);
    if (Game.RandInt(100) == 6) Drift = static_cast<int8_t>(-Drift);
    X = static_cast<int16_t>(X + Drift);
    const int16_t width = Info(Kind).Size.Width;
    if (X < kEnemyLeftBorder) X = kEnemyLeftBorder;
    if (X + width > kEnemyRightBorder) X = static_cast<int16_t>(kEnemyRightBorder - width);
  }

  if (armedShip && RectsIntersect(GetBox(), Game.Ship.GetBox())) {
    // A wreck (struck earlier in this step, or hit by the Mega-Bomb) explodes at the end of this
    // step and costs nothing: its hit points, taken as a byte, would otherwise turn into up to 255.
    const auto damage = static_cast<uint8_t>(HP > 0 ? HP : 0);
    HP -= Game.Health;
    if (HP > 0) LifeBar.Visible = true;
    Game.Ship.TakeDamage(damage);
  }
}

bool TEnemyShip::Step(Surface& target) {
  if (Freeze > 0)
    --Freeze;
  else
    Move();

  const uint32_t now = Game.Tick();
  if (now - LastAnim > 60) {
    Frame = static_cast<uint8_t>(Frame + 1);
    if (Frame > Info(Kind).LastFrame) Frame = 0;
    LastAnim = Game.Tick();
  }

  const Size16 size = Info(Kind).Size;
  DrawClipped(Game.Images.Game(imgEnemy + Index(Kind)), target,
              Rect{0, size.Height * Frame, size.Width, size.Height * (Frame + 1)}, X, Y);

  Gunner.Step(target, Kind < enmBomber);

  if (HP <= 0) {
    const int32_t score = Info(Kind).HitPoints;
    Game.SpawnHit(X, Y, hitExplosion, 0);
    Game.Kills += 1;
    Game.Score += score;
    Game.AddRunScore(X, Y, static_cast<uint16_t>(score));
    return false;
  }
  if (LifeBar.Visible) LifeBar.Draw(target);
  return true;
}

void TEnemyEngine::Step(Surface& target) {
  for (auto& enemy : Slots) {
    if (!enemy) continue;
    const bool gone = enemy->Kind == enmSupplyPlane ? enemy->Y < -72 : enemy->Y > 600;
    if (gone) enemy.reset();
  }
  for (auto& enemy : Slots)
    if (enemy && !enemy->Step(target)) enemy.reset();

  Now = Game.Tick();
  if (Now - LastCheck > 200) {
    if (Game.RandInt(10) == 3 && Count < 2) {
      const uint8_t slot = FirstFreeSlot();
      if (slot < kEnemySlots) CreateEnemy(slot, Game.PickEnemyKind());
    }
    LastCheck = Game.Tick();
  }
}

void TEnemyEngine::Clear() {
  for (auto& enemy : Slots) enemy.reset();
  for (auto& bonus : Game.Bonuses) bonus.reset();
}

uint8_t TEnemyEngine::FirstFreeSlot() const {
  for (size_t i = 0; i < Slots.size(); ++i)
    if (!Slots[i]) return static_cast<uint8_t>(i);
  return kNoSlot;
}

TEnemyShip& TEnemyEngine::CreateEnemy(uint8_t slot, EnemyKind kind) { return Slots[slot].emplace(Game, kind); }

void TEnemyEngine::DestroyEnemy(uint8_t slot) { Slots[slot].reset(); }

}  // namespace sf
