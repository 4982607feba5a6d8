#include <functional>
#include <vector>

#include "GameFixture.h"
#include "game/WorldDigest.h"

namespace sf::testing {
namespace {

class WorldDigestTest : public GameTest {};

// A replay is accepted only when the replayed world's digest is the recorded one, so every part of
// the world that can change what happens next must move it.
TEST_F(WorldDigestTest, EveryPartOfTheWorldChangesTheDigest) {
  StartPlaying();
  Host.Keys[kScanLeftCtrl] = 0x80;
  Steps(200);
  Game->AddRunScore(300, 300, 25);
  Game->SpawnHit(200, 200, hitExplosion, 0);
  PlaceEnemy(5, enmDestroyer, 300, 100);
  Game->Bonuses[0].emplace(*Game, int16_t{250}, int16_t{100});
  Game->Islands[0].emplace(*Game, uint8_t{0});
  Game->Ship.Gunners[0].Shots[20].emplace(pulBullet, int16_t{300}, int16_t{300}, 3.1);

  const std::vector<std::function<void(TGame&)>> changes = {
      [](TGame& g) { g.Score += 1; },
      [](TGame& g) { g.Level += 1; },
      [](TGame& g) { g.Kills += 1; },
      [](TGame& g) { g.Health -= 1; },
      [](TGame& g) { g.Lives -= 1; },
      [](TGame& g) { g.Weapon = 1; },
      [](TGame& g) { g.Ammo[3] += 1; },
      [](TGame& g) { g.PhaseStart += 1; },
      [](TGame& g) { g.Rand.RandInt(2); },
      [](TGame& g) { g.Ship.X += 1; },
      [](TGame& g) { g.Ship.Gunners[1].Angle += 1e-12; },
      [](TGame& g) { g.Ship.Gunners[0].LastShot += 1; },
      [](TGame& g) { g.Ship.Gunners[0].Shots[20]->X += 0.25f; },
      [](TGame& g) { g.Engine.Slots[5]->HP -= 1; },
      [](TGame& g) { g.Engine.Slots[5]->Freeze = 3; },
      [](TGame& g) { g.Engine.Slots[5]->Drift = 1; },
      [](TGame& g) { g.Engine.LastCheck += 1; },
      [](TGame& g) { g.Bonuses[0]->Y += 1; },
      [](TGame& g) { g.Islands[0]->Y += 1; },
      [](TGame& g) { g.Hits[0]->Frame += 1; },
      [](TGame& g) { g.RunScores[0]->Counter += 1; },
      [](TGame& g) { g.Background.Offset += 3; },
  };
  for (size_t i = 0; i < changes.size(); ++i) {
    const uint64_t before = WorldDigest(*Game);
    changes[i](*Game);
    EXPECT_NE(WorldDigest(*Game), before) << "change " << i;
  }
  EXPECT_EQ(WorldDigest(*Game), WorldDigest(*Game));
}

}  // namespace
}  // namespace sf::testing
