#include <gtest/gtest.h>

#include <vector>

#include "GameFixture.h"

namespace sf::testing {
namespace {

class EffectsTest : public GameTest {
 protected:
  // A bonus of a kind right on the ship, caught in the next playing step.
  void DropOnShip(BonusKind kind) {
    Game->Bonuses[0].emplace(*Game, Game->Ship.X, Game->Ship.Y);
    Game->Bonuses[0]->Kind = kind;
  }
};

TEST_F(EffectsTest, AmmunitionBonusesFeedTheirWeaponsAndCoinsAddPoints) {
  StartPlaying();
  const struct {
    BonusKind Kind;
    int Weapon;
  } feeds[] = {{bonRocket, 3}, {bonGun, 1}, {bonRocket3x, 4}, {bonGun2x, 2}};
  for (const auto& feed : feeds) {
    const uint16_t before = Game->Ammo[static_cast<size_t>(feed.Weapon)];
    DropOnShip(feed.Kind);
    Step();
    EXPECT_FALSE(Game->Bonuses[0]);
    EXPECT_EQ(Game->Ammo[static_cast<size_t>(feed.Weapon)], before + 10);
  }
  const int32_t score = Game->Score;
  DropOnShip(bonCoins);
  Step();
  EXPECT_EQ(Game->Score, score + 100);
  EXPECT_EQ(Host.CountSounds(sndBonus), 0);
  // Ammunition never wraps round.
  Game->Ammo[3] = 65530;
  DropOnShip(bonRocket);
  Step();
  EXPECT_EQ(Game->Ammo[3], 65535);
}

TEST_F(EffectsTest, FirstAidSetNeverLeavesMoreThanFullHealth) {
  StartPlaying();
  Game->Health = 60;
  DropOnShip(bonFirstAid);
  Step();
  EXPECT_EQ(Game->Health, 110);  // until the ship's next step
  Step();
  EXPECT_EQ(Game->Health, 72);

  // At full health the bar is missing for the one step, then full.
  DropOnShip(bonFirstAid);
  Step();
  EXPECT_EQ(Game->Health, 122);
  EXPECT_EQ(Target.At(720, 585), GameImageColour(imgRightPanel));
  Step();
  EXPECT_EQ(Target.At(720, 585), GameImageColour(imgHealthBar));
  EXPECT_EQ(Target.At(720, 586 - 144), GameImageColour(imgHealthBar));
  EXPECT_EQ(Target.At(720, 586 - 145), GameImageColour(imgRightPanel));
  // The bar stands on y 586 and is 2 rows per health point; the lives stand on the left panel.
  Game->Health = 10;
  Step();
  EXPECT_EQ(Target.At(710, 566), GameImageColour(imgHealthBar));
  EXPECT_EQ(Target.At(710, 565), GameImageColour(imgRightPanel));
  EXPECT_EQ(Target.At(710, 586), GameImageColour(imgRightPanel));
  EXPECT_EQ(Target.At(9 + 34 * 2 + 5, 325), GameImageColour(imgLife));
  EXPECT_EQ(Target.At(9 + 34 * 3 + 5, 325), GameImageColour(imgLeftPanel));
}

TEST_F(EffectsTest, BonusFallsOnePixelAStepAndGoesBelowTheScreen) {
  StartPlaying();
  Game->Ship.X = 500;
  Game->Bonuses[0].emplace(*Game, 250, 590);
  Game->Bonuses[0]->Kind = bonCoins;
  Step();
  ASSERT_TRUE(Game->Bonuses[0]);
  EXPECT_EQ(Game->Bonuses[0]->Y, 591);
  EXPECT_EQ(Target.At(255, 595), GameImageColour(imgBonus + Index(bonCoins)));
  while (Game->Bonuses[0] && Game->Bonuses[0]->Y < 600) Step();
  ASSERT_TRUE(Game->Bonuses[0]);
  Step();
  EXPECT_FALSE(Game->Bonuses[0]);
}

TEST_F(EffectsTest, EmptyDropIsNeitherDrawnNorHasAnEffect) {
  StartPlaying();
  Game->Bonuses[0].emplace(*Game, 250, 300);
  Game->Bonuses[0]->Kind = bonEmpty;
  Game->Ship.X = 500;
  Step();
  EXPECT_NE(Target.At(255, 305), GameImageColour(imgBonus + Index(bonEmpty)));
  const auto before = Game->Ammo;
  const int32_t score = Game->Score;
  Game->Bonuses[0]->X = Game->Ship.X;
  Game->Bonuses[0]->Y = Game->Ship.Y;
  Step();
  EXPECT_FALSE(Game->Bonuses[0]);
  EXPECT_EQ(Game->Ammo, before);
  EXPECT_EQ(Game->Score, score);
  EXPECT_EQ(Game->Health, 72);
}

TEST_F(EffectsTest, ExplosionPlaysOnceAndLastsSixteenFrames) {
  NewGame();
  Game->SpawnHit(200, 200, hitExplosion, 0);
  THit& hit = *Game->Hits[0];
  int steps = 0;
  while (Game->Hits[0] && steps < 100) {
    Time.Tick += 31;
    if (!hit.Step(Target)) Game->Hits[0].reset();
    ++steps;
  }
  EXPECT_EQ(steps, 16);
  EXPECT_EQ(Host.CountSounds(sndExpl), 1);
  EXPECT_EQ(Host.Sounds[0].X, 200);

  // A delayed explosion waits, then sounds in every step that begins at frame 0.
  Host.Sounds.clear();
  Game->SpawnHit(200, 200, hitExplosion, -2);
  THit& late = *Game->Hits[0];
  Time.Tick += 31;
  late.Step(Target);  // -2 -> -1
  Time.Tick += 31;
  late.Step(Target);  // -1 -> 0, nothing drawn
  EXPECT_EQ(Host.CountSounds(sndExpl), 0);
  Time.Tick += 10;
  late.Step(Target);  // begins at 0, too early to advance
  Time.Tick += 31;
  late.Step(Target);  // begins at 0 again
  EXPECT_EQ(Host.CountSounds(sndExpl), 2);
  EXPECT_EQ(late.Frame, 1);
}

TEST_F(EffectsTest, SlotArraysDropWhatDoesNotFit) {
  NewGame();
  for (int i = 0; i < 25; ++i) Game->SpawnHit(static_cast<int16_t>(i), 0, hitImpact, 0);
  EXPECT_EQ(CountSlots(Game->Hits), 20);
  EXPECT_EQ(Game->Hits[19]->X, 19);
  for (int i = 0; i < 12; ++i) Game->AddRunScore(static_cast<int16_t>(i), 300, 5);
  EXPECT_EQ(CountSlots(Game->RunScores), 10);
  Game->Hits[4].reset();
  Game->SpawnHit(99, 0, hitImpact, 0);
  EXPECT_EQ(Game->Hits[4]->X, 99);  // the lowest empty slot
}

TEST_F(EffectsTest, FloatingScoreIsDrawnEightyTimesRisingFrom31To110Above) {
  NewGame();
  Game->AddRunScore(300, 300, 75);
  TRunScore& score = *Game->RunScores[0];
  std::vector<int> ys;
  int redFirst = 0;
  while (true) {
    Target.Pixels.assign(Target.Pixels.size(), 0);
    if (!score.Step(*Game, Target)) break;
    ys.push_back(score.Y);
    if (ys.size() == 1)
      for (int y = score.Y; y < score.Y + 18; ++y)
        for (int x = score.X - 20; x < score.X + 20; ++x) redFirst += (Target.At(x, y) & 0xFF0000) > 0x800000 ? 1 : 0;
    ASSERT_LE(ys.size(), 100u);
  }
  ASSERT_EQ(ys.size(), 80u);
  EXPECT_EQ(ys.front(), 300 - 31);
  EXPECT_EQ(ys.back(), 300 - 110);
  EXPECT_GT(redFirst, 10);
}

TEST_F(EffectsTest, SeaOffsetRunsInStepsOfThreeAndWraps) {
  NewGame();
  TRunBackground& sea = Game->Background;
  std::vector<int> offsets;
  for (int i = 0; i < 83; ++i) {
    Time.Tick += 21;
    for (auto& island : Game->Islands) island.reset();
    sea.Step(Target);
    offsets.push_back(sea.Offset);
  }
  for (int i = 0; i < 81; ++i) EXPECT_EQ(offsets[static_cast<size_t>(i)], 3 * (i + 1)) << i;
  EXPECT_EQ(offsets[81], 0);
  EXPECT_EQ(offsets[82], 3);
  // 20 ms or less: no scroll.
  Time.Tick += 20;
  sea.Step(Target);
  EXPECT_EQ(sea.Offset, 3);
}

TEST_F(EffectsTest, IslandsComeOnlyIntoFreeSlots) {
  NewGame();
  int created = 0;
  for (int i = 0; i < 3000; ++i) {
    Time.Tick += 21;
    const int before = CountSlots(Game->Islands);
    Game->Background.Step(Target);
    created += CountSlots(Game->Islands) > before ? 1 : 0;
  }
  EXPECT_EQ(CountSlots(Game->Islands), 3);  // never stepped, so they never leave
  EXPECT_EQ(created, 3);
  for (const auto& island : Game->Islands) {
    const int16_t width = kIslandSizes[island->Kind].Width;
    EXPECT_EQ(island->X, island->Kind <= 1 ? 118 : 682 - width);
    EXPECT_EQ(island->Y, -kIslandSizes[island->Kind].Height);
  }
}

TEST_F(EffectsTest, IslandGunRidesItsIslandAndIsRemovedByClearWhileTheIslandStays) {
  NewGame();
  // Find a seed whose island carries a gun.
  for (uint32_t seed = 1; seed < 100; ++seed) {
    Rand.Seed(seed);
    Game->Islands[0].emplace(*Game, 0);
    if (Game->Engine.Slots[0]) break;
    Game->Islands[0].reset();
  }
  ASSERT_TRUE(Game->Islands[0]);
  ASSERT_TRUE(Game->Engine.Slots[0]);
  TIsland& island = *Game->Islands[0];
  TEnemyShip& gun = *Game->Engine.Slots[0];
  const Size16 size = kIslandSizes[island.Kind];
  EXPECT_EQ(gun.Kind, enmIslandGun);
  EXPECT_EQ(gun.X, island.X + size.Width / 2);
  EXPECT_EQ(gun.Y, island.Y + size.Height / 2);
  EXPECT_EQ(Game->Engine.Count, 1);
  island.Y = 100;
  gun.Move();
  EXPECT_EQ(gun.Y, 100 + size.Height / 2);

  Game->Engine.Clear();
  EXPECT_FALSE(Game->Engine.Slots[0]);
  EXPECT_EQ(Game->Engine.Count, 0);
  ASSERT_TRUE(Game->Islands[0]);
  Time.Tick += 21;
  EXPECT_TRUE(island.Step(Target));
  EXPECT_EQ(island.Y, 103);
}

TEST_F(EffectsTest, GunOfAnIslandThatIsGoneStaysPut) {
  NewGame();
  for (uint32_t seed = 1; seed < 100; ++seed) {
    Rand.Seed(seed);
    Game->Islands[0].emplace(*Game, 0);
    if (Game->Engine.Slots[0]) break;
    Game->Islands[0].reset();
  }
  ASSERT_TRUE(Game->Engine.Slots[0]);
  TEnemyShip& gun = *Game->Engine.Slots[0];
  Game->Islands[0]->Y = 598;
  Time.Tick += 21;
  EXPECT_FALSE(Game->Islands[0]->Step(Target));
  Game->Islands[0].reset();
  EXPECT_EQ(gun.IslandY, nullptr);
  const int16_t y = gun.Y;
  gun.Move();
  EXPECT_EQ(gun.Y, y);
}

}  // namespace
}  // namespace sf::testing
