#include "game/WorldDigest.h"

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "core/Fnv.h"
#include "game/Game.h"

namespace sf {
namespace {

// The digest takes every kind by its number, and the replays recorded so far were verified with
// these numbers: renumbering a kind would reject all of them.
static_assert(Index(phaseIntro) == 0 && Index(phasePlaying) == 1 && Index(phaseGameOver) == 3 &&
              Index(phaseWindDown) == 255);
static_assert(Index(pulBullet) == 0 && Index(pulShell) == 1 && Index(pulRocket) == 2 && Index(pulDrop) == 255);
static_assert(Index(patBullet) == 0 && Index(patShell) == 1 && Index(patTwinShell) == 2 && Index(patRocket) == 3 &&
              Index(patTripleRocket) == 4 && Index(patDropBonus) == 6 && Index(patHeliRocket) == 31);
static_assert(Index(enmCutter) == 0 && Index(enmDestroyer) == 1 && Index(enmCrulser) == 2 &&
              Index(enmBattleShip) == 3 && Index(enmIslandGun) == 4 && Index(enmBomber) == 5 &&
              Index(enmHelicopter) == 6 && Index(enmSupplyPlane) == 7);
static_assert(Index(bonRocket) == 0 && Index(bonGun) == 1 && Index(bonRocket3x) == 2 && Index(bonGun2x) == 3 &&
              Index(bonFirstAid) == 4 && Index(bonIce) == 5 && Index(bonCoins) == 6 && Index(bonMegaBomb) == 7 &&
              Index(bonEmpty) == 8);
static_assert(Index(hitExplosion) == 0 && Index(hitImpact) == 4);
static_assert(Index(gunMachineGun) == 0 && Index(gunCannon) == 1 && Index(gunLauncher) == 2 && Index(gunHatch) == 3);

// The bits of a float or double (memcpy: the browser build's C++ library has no std::bit_cast).
template <typename Bits, typename T>
Bits BitsOf(T value) {
  static_assert(sizeof(Bits) == sizeof(T));
  Bits bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// FNV-1a over values fed in a fixed order, each widened to 64 bits (floats by their bits, kinds by
// their numbers).
class Digest {
 public:
  template <typename T>
  Digest& operator<<(T value) {
    uint64_t bits;
    if constexpr (std::is_same_v<T, double>) {
      bits = BitsOf<uint64_t>(value);
    } else if constexpr (std::is_same_v<T, float>) {
      bits = BitsOf<uint32_t>(value);
    } else if constexpr (std::is_enum_v<T>) {
      bits = static_cast<uint64_t>(Index(value));
    } else {
      bits = static_cast<uint64_t>(value);
    }
    for (int i = 0; i < 8; ++i) h_.Byte(static_cast<uint8_t>(bits >> (8 * i)));
    return *this;
  }
  uint64_t Value() const { return h_.Value(); }

 private:
  Fnv1a h_;
};

void AddGunner(Digest& d, const TGunner& gun) {
  d << gun.InFlight << gun.Angle << gun.MinAngle << gun.MaxAngle << gun.OffsetX << gun.OffsetY << gun.AimX << gun.AimY
    << gun.IsPlayer << gun.GunKind << gun.Pattern << gun.Slot << gun.Now << gun.LastShot;
  for (const auto& shot : gun.Shots) {
    d << shot.has_value();
    if (shot) d << shot->Kind << shot->X << shot->Y << shot->Heading;
  }
}

}  // namespace

uint64_t WorldDigest(const TGame& game) {
  Digest d;
  d << game.Level << game.Score << game.Kills << game.Phase << game.Now << game.PhaseStart << game.Lives << game.Health
    << game.Weapon << game.Rand.SeedValue();
  for (uint16_t ammo : game.Ammo) d << ammo;

  const TMyShip& ship = game.Ship;
  d << ship.X << ship.Y << ship.Frame << ship.Now << ship.LastAnim;
  for (const TGunner& gun : ship.Gunners) AddGunner(d, gun);

  const TEnemyEngine& engine = game.Engine;
  d << engine.Count << engine.Now << engine.LastCheck;
  for (const auto& enemy : engine.Slots) {
    d << enemy.has_value();
    if (!enemy) continue;
    d << enemy->X << enemy->Y << enemy->IslandOffset << enemy->Drift << (enemy->IslandY != nullptr)
      << (enemy->IslandY ? *enemy->IslandY : 0) << enemy->Kind << enemy->Frame << enemy->HP << enemy->Freeze
      << enemy->LastAnim << enemy->LifeBar.Visible << enemy->LifeBar.Counter;
    AddGunner(d, enemy->Gunner);
  }
  for (const auto& island : game.Islands) {
    d << island.has_value();
    if (island)
      d << island->X << island->Y << island->Kind << island->Slot << island->GunSlot << island->Now
        << island->LastScroll;
  }
  for (const auto& hit : game.Hits) {
    d << hit.has_value();
    if (hit) d << hit->Kind << hit->Slot << hit->X << hit->Y << hit->Frame << hit->Now << hit->LastFrame;
  }
  for (const auto& bonus : game.Bonuses) {
    d << bonus.has_value();
    if (bonus) d << bonus->Kind << bonus->X << bonus->Y;
  }
  for (const auto& score : game.RunScores) {
    d << score.has_value();
    if (score) d << score->X << score->Y << score->Value << score->Counter;
  }
  d << game.Background.Offset << game.Background.Now << game.Background.LastScroll;
  return d.Value();
}

}  // namespace sf
