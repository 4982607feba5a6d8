#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "GameFixture.h"

namespace sf::testing {
namespace {

class EnemyTest : public GameTest {};

TEST_F(EnemyTest, LevelOneBringsOnlyCuttersAndTheSupplyPlane) {
  NewGame();
  for (const int level : {1, 11, 21}) {
    Game->Level = static_cast<uint8_t>(level);
    int planes = 0;
    for (int i = 0; i < 2000; ++i) {
      const EnemyKind kind = Game->PickEnemyKind();
      ASSERT_TRUE(kind == enmCutter || kind == enmSupplyPlane) << Index(kind);
      planes += kind == enmSupplyPlane ? 1 : 0;
    }
    EXPECT_GT(planes, 100);  // one in ten
    EXPECT_LT(planes, 320);
  }
  std::set<int> kinds;
  Game->Level = 10;
  for (int i = 0; i < 3000; ++i) kinds.insert(Index(Game->PickEnemyKind()));
  EXPECT_EQ(kinds, (std::set<int>{0, 1, 2, 3, 5, 6, 7}));
  kinds.clear();
  Game->Level = 3;
  for (int i = 0; i < 3000; ++i) kinds.insert(Index(Game->PickEnemyKind()));
  EXPECT_EQ(kinds, (std::set<int>{0, 1, 2, 7}));
}

TEST_F(EnemyTest, EnemyChoiceEndsEvenWhenTheCounterStandsStill) {
  NewGame();
  Time.FrozenCounter = true;
  for (uint64_t counter = 0; counter < 50; ++counter) {
    Time.Counter = counter;
    Game->Level = 1;
    const EnemyKind kind = Game->PickEnemyKind();
    EXPECT_TRUE(kind == enmCutter || kind == enmSupplyPlane);
  }
}

TEST_F(EnemyTest, SpawnerKeepsAtMostTwoEnemiesAndLevelOneSendsCutters) {
  StartPlaying();
  Game->Health = 30000;  // nothing ends this level early
  Host.Keys[kScanLeftCtrl] = 0;
  std::set<EnemyKind> kinds;
  for (int i = 0; i < 3000; ++i) {
    const uint8_t before = Game->Engine.Count;
    Step();
    Game->Kills = 0;
    Game->Health = 30000;
    int present = 0;
    for (const auto& e : Game->Engine.Slots) {
      if (!e) continue;
      ++present;
      if (e->Kind != enmIslandGun) kinds.insert(e->Kind);
    }
    ASSERT_EQ(present, Game->Engine.Count);
    // A new enemy comes only while fewer than two exist (island guns count too).
    if (Game->Engine.Count > before) {
      ASSERT_TRUE(before < 2 || CountSlots(Game->Islands) > 0);
    }
  }
  EXPECT_TRUE(kinds.count(enmCutter));
  for (EnemyKind k : kinds) EXPECT_TRUE(k == enmCutter || k == enmSupplyPlane) << Index(k);
}

TEST_F(EnemyTest, ProjectileKillScoresOnceWithExplosionAndFloatingScore) {
  StartPlaying();
  TEnemyShip& cutter = PlaceEnemy(0, enmCutter, 300, 200);
  cutter.Freeze = 10;  // stands still
  cutter.HP = 2;
  Game->Ship.Gunners[0].Shots[0].emplace(pulBullet, 305, 250, kPlayerGunRest);
  Step();
  EXPECT_FALSE(Game->Engine.Slots[0]);
  EXPECT_EQ(Game->Engine.Count, 0);
  EXPECT_EQ(Game->Kills, 1);
  EXPECT_EQ(Game->Score, 15);
  EXPECT_EQ(Game->Ship.Gunners[0].ShotCount(), 0);
  // The impact flash at the projectile, the explosion at the enemy's top-left corner.
  ASSERT_TRUE(Game->Hits[0] && Game->Hits[1]);
  EXPECT_EQ(Game->Hits[0]->Kind, hitImpact);
  EXPECT_EQ(Game->Hits[0]->X, 305);
  EXPECT_EQ(Game->Hits[1]->Kind, hitExplosion);
  EXPECT_EQ(Game->Hits[1]->X, 300);
  EXPECT_EQ(Game->Hits[1]->Y, 200);
  ASSERT_TRUE(Game->RunScores[0]);
  EXPECT_EQ(Game->RunScores[0]->Value, 15);
  EXPECT_EQ(CountSlots(Game->RunScores), 1);
}

TEST_F(EnemyTest, StruckEnemyShowsItsLifeBarAndSupplyPlaneCannotBeStruck) {
  StartPlaying();
  TEnemyShip& cutter = PlaceEnemy(0, enmCutter, 300, 200);
  cutter.Freeze = 10;
  TEnemyShip& plane = PlaceEnemy(1, enmSupplyPlane, 400, 200);
  plane.Freeze = 10;
  Game->Ship.Gunners[1].Shots[0].emplace(pulShell, 305, 250, kPlayerGunRest);
  Game->Ship.Gunners[1].Shots[1].emplace(pulShell, 420, 250, kPlayerGunRest);
  Step();
  EXPECT_EQ(cutter.HP, 10);
  EXPECT_TRUE(cutter.LifeBar.Visible);
  EXPECT_EQ(plane.HP, 30);
  EXPECT_EQ(Game->Ship.Gunners[1].ShotCount(), 1);
  // The bar: the enemy's width times the share of hit points left, 10 pixels above it.
  const uint32_t bar = GdiToPixel(kNormalColour);
  EXPECT_EQ(Target.At(302, 190), bar);
  EXPECT_EQ(Target.At(302 + 16 - 1, 192), bar);
  EXPECT_NE(Target.At(302 + 16, 191), bar);
  // A box that only touches the enemy's edge does not strike.
  Game->Ship.Gunners[0].Shots[0].emplace(pulBullet, 300 - 7, 250, kPlayerGunRest);
  Step();
  EXPECT_EQ(cutter.HP, 10);
}

TEST_F(EnemyTest, EnemyShotStrikesOnlyTheShipBox) {
  StartPlaying();
  Game->Ship.X = 300;
  Game->Ship.Y = 400;
  TEnemyShip& cutter = PlaceEnemy(0, enmDestroyer, 300, 100);
  cutter.Freeze = 10;
  cutter.Gunner.LastShot = Time.Tick;  // no shot of its own within a second
  // Into the box, and beside it (the sprite is 38 wide but the box only 26).
  cutter.Gunner.Shots[0].emplace(pulShell, 310, 420, 0.0);
  cutter.Gunner.Shots[1].emplace(pulShell, 300 + 26, 420, 0.0);
  cutter.Gunner.InFlight = 2;
  Step();
  EXPECT_EQ(Game->Health, 72 - 5);
  ASSERT_TRUE(Game->Hits[0]);
  EXPECT_EQ(Game->Hits[0]->X, 300 - 13);
  EXPECT_EQ(Game->Hits[0]->Y, 420);
  EXPECT_EQ(cutter.Gunner.ShotCount(), 1);
  EXPECT_EQ(cutter.Gunner.InFlight, 2);  // a strike does not lower it
}

TEST_F(EnemyTest, RammingACutterAtFullHealth) {
  StartPlaying();
  Game->Ship.X = 300;
  Game->Ship.Y = 400;
  PlaceEnemy(0, enmCutter, 300, 390);
  Game->Health = 72;
  TEnemyShip& cutter = *Game->Engine.Slots[0];
  cutter.Move();
  EXPECT_EQ(cutter.HP, 15 - 72);
  EXPECT_EQ(Game->Health, 72 - 15);
  Game->Engine.Slots[0].reset();

  PlaceEnemy(0, enmCutter, 300, 390);
  Step();
  EXPECT_FALSE(Game->Engine.Slots[0]);
  EXPECT_EQ(Game->Health, 72 - 15 - 15);
  EXPECT_EQ(Game->Kills, 1);
  EXPECT_EQ(Game->Score, 15);
}

TEST_F(EnemyTest, RammingABattleShipAtFortyHealthDestroysTheShipNextStep) {
  StartPlaying();
  Game->Ship.X = 300;
  Game->Ship.Y = 400;
  TEnemyShip& battleShip = PlaceEnemy(0, enmBattleShip, 290, 300);
  Game->Health = 40;
  Step();
  EXPECT_EQ(battleShip.HP, 35);
  EXPECT_TRUE(battleShip.LifeBar.Visible);
  EXPECT_EQ(Game->Health, -35);
  EXPECT_EQ(Game->Lives, 3);
  Step();
  EXPECT_EQ(Game->Lives, 2);
  EXPECT_EQ(Game->Phase, phaseWindDown);
}

TEST_F(EnemyTest, RamByAWreckCostsNothing) {
  StartPlaying();
  Game->Ship.X = 300;
  Game->Ship.Y = 400;
  TEnemyShip& cutter = PlaceEnemy(0, enmCutter, 300, 390);
  cutter.HP = -3;  // struck by a projectile earlier in this step
  cutter.Move();
  EXPECT_EQ(Game->Health, 72);
}

TEST_F(EnemyTest, FrozenEnemyStandsThreeHundredStepsAndKeepsFiring) {
  StartPlaying();
  Rand.Seed(3);  // a run in which the frozen gun's 1-in-100 chance comes up (the game is deterministic)
  Game->Ship.X = 400;
  Game->Ship.Y = 480;
  TEnemyShip& destroyer = PlaceEnemy(0, enmDestroyer, 250, 100);
  TEnemyShip& gun = PlaceEnemy(1, enmIslandGun, 500, 100);
  TEnemyShip& plane = PlaceEnemy(2, enmSupplyPlane, 300, 500);
  destroyer.Gunner.Angle = 0.3;
  Game->Bonuses[0].emplace(*Game, Game->Ship.X, Game->Ship.Y);
  Game->Bonuses[0]->Kind = bonIce;
  Game->Health = 30000;
  const int16_t planeY = plane.Y;
  Step();
  EXPECT_EQ(destroyer.Freeze, 300);  // set after the spawner's step
  EXPECT_EQ(gun.Freeze, 0);
  EXPECT_EQ(plane.Freeze, 0);
  EXPECT_LT(plane.Y, planeY);
  const int16_t x = destroyer.X, y = destroyer.Y;
  const double angle = destroyer.Gunner.Angle;
  int shotsFired = 0;
  for (int i = 0; i < 300; ++i) {
    const uint32_t lastShot = destroyer.Gunner.LastShot;
    Step();
    Game->Kills = 0;
    Game->Health = 30000;
    ASSERT_EQ(destroyer.X, x);
    ASSERT_EQ(destroyer.Y, y);
    ASSERT_DOUBLE_EQ(destroyer.Gunner.Angle, angle);
    shotsFired += destroyer.Gunner.LastShot != lastShot ? 1 : 0;
  }
  EXPECT_LT(plane.Y, planeY - 250);  // the plane kept flying
  EXPECT_EQ(destroyer.Freeze, 0);
  EXPECT_GT(shotsFired, 0);
  EXPECT_GT(destroyer.Gunner.InFlight, 0);
  Step();
  EXPECT_EQ(destroyer.Y, y + 2);
}

TEST_F(EnemyTest, MegaBombDestroysAllButTheSupplyPlaneInTheNextSpawnerStep) {
  StartPlaying();
  Game->Ship.X = 400;
  Game->Ship.Y = 480;
  PlaceEnemy(0, enmCutter, 200, 50);
  PlaceEnemy(1, enmBattleShip, 300, 20);
  PlaceEnemy(2, enmSupplyPlane, 450, 300);
  PlaceEnemy(3, enmHelicopter, 500, 10);
  Game->Level = 9;  // no level end in between
  Game->Bonuses[0].emplace(*Game, Game->Ship.X, Game->Ship.Y);
  Game->Bonuses[0]->Kind = bonMegaBomb;
  Step();
  EXPECT_EQ(Game->Engine.Slots[0]->HP, 0);
  EXPECT_EQ(Game->Engine.Slots[2]->HP, 30);
  EXPECT_EQ(Game->Kills, 0);
  const int explosionsBefore = CountSlots(Game->Hits);
  Step();
  EXPECT_EQ(Game->Kills, 3);
  EXPECT_EQ(Game->Score, 15 + 75 + 50);
  EXPECT_EQ(Game->Engine.Count, 1);
  ASSERT_TRUE(Game->Engine.Slots[2]);
  EXPECT_EQ(Game->Engine.Slots[2]->Kind, enmSupplyPlane);
  EXPECT_EQ(CountSlots(Game->RunScores), 3);
  EXPECT_EQ(CountSlots(Game->Hits), explosionsBefore + 3);
}

TEST_F(EnemyTest, EnemiesDriftWithinTheirBordersAndLeaveTheField) {
  StartPlaying();
  Game->Health = 30000;
  TEnemyShip& left = PlaceEnemy(0, enmCutter, 190, -80);
  TEnemyShip& right = PlaceEnemy(1, enmBattleShip, 590, -140);
  left.Drift = -1;
  right.Drift = 1;
  Step();
  EXPECT_EQ(left.X, 196);
  EXPECT_EQ(right.X, 604 - 47);
  // The plane rises from below and is removed above -72; ships below 600.
  TEnemyShip& plane = PlaceEnemy(2, enmSupplyPlane, 300, -72);
  Step();
  EXPECT_EQ(plane.Y, -73);
  Step();
  EXPECT_FALSE(Game->Engine.Slots[2]);
  left.Y = 601;
  Step();
  EXPECT_FALSE(Game->Engine.Slots[0]);
  EXPECT_EQ(Game->Kills, 0);  // departed enemies are not scored
}

TEST_F(EnemyTest, SupplyPlaneDropsBonusesThroughItsGun) {
  StartPlaying();
  TEnemyShip& plane = PlaceEnemy(0, enmSupplyPlane, 300, 300);
  plane.Gunner.LastShot = Time.Tick - 2000;
  Rand.Seed(7);
  EXPECT_TRUE(plane.Gunner.TryFire());
  ASSERT_TRUE(Game->Bonuses[0]);
  EXPECT_EQ(Game->Bonuses[0]->X, 336);
  EXPECT_EQ(Game->Bonuses[0]->Y, 380);
  EXPECT_EQ(plane.Gunner.ShotCount(), 0);
  EXPECT_EQ(plane.Gunner.AimX, 0);  // a drop records no aim origin
}

TEST_F(EnemyTest, AimingUsesTheRecordedOriginAndNeverDividesByZero) {
  StartPlaying();
  Game->Ship.X = 300;
  Game->Ship.Y = 440;
  TEnemyShip& cutter = PlaceEnemy(0, enmCutter, 250, 100);
  cutter.Gunner.AimX = 250;
  cutter.Gunner.AimY = 400;  // the ship is exactly 40 below: 41 is used
  cutter.Aim();
  EXPECT_NEAR(cutter.Gunner.Angle, -std::atan(50.0 / -1.0), 1e-12);
  cutter.Gunner.AimY = 100;
  cutter.Aim();
  EXPECT_NEAR(cutter.Gunner.Angle, -std::atan(50.0 / 300.0), 1e-12);
}

}  // namespace
}  // namespace sf::testing
