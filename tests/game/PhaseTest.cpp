#include <gtest/gtest.h>

#include "GameFixture.h"
#include "core/ScreenState.h"

namespace sf::testing {
namespace {

class PhaseTest : public GameTest {};

TEST_F(PhaseTest, NewGameHidesCursorAndShowsLevelOneAtOnceWithWin) {
  NewGame();
  EXPECT_EQ(Host.CursorCounter, -1);
  EXPECT_EQ(Game->Phase, phaseWindDown);
  EXPECT_EQ(Game->Level, 1);
  EXPECT_EQ(Game->Lives, 3);
  EXPECT_EQ(Game->Health, 72);
  EXPECT_EQ(Game->Ship.Y, 510);

  Step();
  EXPECT_EQ(Game->Phase, phaseIntro);
  ASSERT_EQ(Host.CountSounds(sndWin), 1);
  EXPECT_EQ(Host.Sounds.back().X, 400);
  EXPECT_EQ(Host.Sounds.back().Y, 800);
  EXPECT_EQ(Game->PhaseStart, Time.Tick);

  // The intro parks the ship and lasts strictly more than 2150 ms.
  const uint32_t introStart = Game->PhaseStart;
  while (Time.Tick + 16 - introStart <= 2150) {
    Step();
    ASSERT_EQ(Game->Phase, phaseIntro);
  }
  EXPECT_EQ(Game->Ship.X, 390);
  EXPECT_EQ(Game->Ship.Y, 480);
  Step();
  EXPECT_EQ(Game->Phase, phasePlaying);
  EXPECT_GT(Time.Tick - introStart, 2150u);
  EXPECT_EQ(Game->Kills, 0);
  EXPECT_EQ(Game->Health, 72);
}

TEST_F(PhaseTest, IntroEndsWithEnemiesAndBonusesCleared) {
  NewGame();
  Step();
  PlaceEnemy(0, enmCutter, 300, 100);
  Game->Bonuses[3].emplace(*Game, 300, 100);
  Game->Health = 10;
  Game->Kills = 7;
  Time.Tick += 3000;  // as after a pause: the next step ends the intro
  Step();
  EXPECT_EQ(Game->Phase, phasePlaying);
  EXPECT_EQ(CountSlots(Game->Engine.Slots), 0);
  EXPECT_EQ(Game->Engine.Count, 0);
  EXPECT_EQ(CountSlots(Game->Bonuses), 0);
  EXPECT_EQ(Game->Kills, 0);
  EXPECT_EQ(Game->Health, 72);
}

TEST_F(PhaseTest, LevelRisesAtOnceAndNextIntroWaitsForExplosions) {
  StartPlaying();
  Game->Kills = 3;
  Game->AddRunScore(300, 300, 15);
  const size_t winsBefore = static_cast<size_t>(Host.CountSounds(sndWin));
  Step();
  EXPECT_EQ(Game->Level, 2);
  EXPECT_EQ(Game->Phase, phaseWindDown);
  // The floating score keeps the wind-down going for its 80 steps.
  int windDownSteps = 1;
  while (Game->Phase == phaseWindDown && windDownSteps < 500) {
    Step();
    ++windDownSteps;
  }
  EXPECT_EQ(Game->Phase, phaseIntro);
  EXPECT_GE(windDownSteps, 80);
  EXPECT_EQ(static_cast<size_t>(Host.CountSounds(sndWin)), winsBefore + 1);
  Time.Tick += 2200;
  Step();
  EXPECT_EQ(Game->Phase, phasePlaying);
  EXPECT_EQ(Game->Kills, 0);
  EXPECT_EQ(Game->Level, 2);
}

TEST_F(PhaseTest, LostShipReplaysTheLevelWithOneLifeFewer) {
  StartPlaying();
  Game->Kills = 2;
  Game->SpawnHit(300, 300, hitImpact, 0);  // removed before the death explosions
  Game->Health = 0;
  Step();
  EXPECT_EQ(Game->Phase, phaseWindDown);
  EXPECT_EQ(Game->Lives, 2);
  ASSERT_EQ(CountSlots(Game->Hits), 9);
  for (int i = 0; i < 9; ++i) {
    ASSERT_TRUE(Game->Hits[static_cast<size_t>(i)]);
    const THit& hit = *Game->Hits[static_cast<size_t>(i)];
    EXPECT_EQ(hit.Kind, hitExplosion);
    // Created at -120 + 15 i, then advanced once by this step's pass over the hits.
    EXPECT_EQ(hit.Frame, -120 + 15 * i + 1);
    EXPECT_LE(hit.X, Game->Ship.X - 5);
    EXPECT_GE(hit.X, Game->Ship.X - 19);
  }
  const int16_t shipX = Game->Ship.X;
  int guard = 0;
  while (Game->Phase == phaseWindDown && guard++ < 2000) {
    Host.Keys[kScanRight] = 0x80;  // the wrecked ship cannot be moved
    Step();
  }
  Host.Keys[kScanRight] = 0;
  EXPECT_EQ(Game->Ship.X, shipX);
  EXPECT_EQ(Game->Phase, phaseIntro);
  EXPECT_EQ(Game->Level, 1);
  EXPECT_GE(Host.CountSounds(sndExpl), 9);
  Time.Tick += 2200;
  Step();
  EXPECT_EQ(Game->Phase, phasePlaying);
  EXPECT_EQ(Game->Kills, 0);
  EXPECT_EQ(Game->Health, 72);
}

TEST_F(PhaseTest, LastLifeEndsInGameOverPictureWithLooseAndNoMusic) {
  StartPlaying();
  Game->Lives = 1;
  Game->Health = -3;
  Host.Events.clear();
  int guard = 0;
  while (Game->Phase != phaseGameOver && guard++ < 2000) Step();
  ASSERT_EQ(Game->Phase, phaseGameOver);
  EXPECT_EQ(Game->Lives, 0);
  ASSERT_EQ(Host.Events.size(), 2u);
  EXPECT_EQ(Host.Events[0], "StopMusic");
  EXPECT_EQ(Host.Events[1], "Loose");
  EXPECT_EQ(Host.Sounds.back().X, 400);
  EXPECT_EQ(Host.Sounds.back().Y, 100);

  // The picture: this step's frame with a scan line over every second row and "Game Over".
  const uint32_t scan = MenuImageColour(menuImgScanLine);
  EXPECT_EQ(Host.Snapshot.At(5, 0), scan);
  EXPECT_EQ(Host.Snapshot.At(5, 598), scan);
  EXPECT_EQ(Host.Snapshot.At(5, 1), Target.At(5, 1));
  EXPECT_EQ(Host.Snapshot.At(5, 597), Target.At(5, 597));
  int textPixels = 0;
  for (int y = 301; y < 330; y += 2)
    for (int x = 310; x < 480; ++x) textPixels += Host.Snapshot.At(x, y) != Target.At(x, y) ? 1 : 0;
  EXPECT_GT(textPixels, 100);

  // Shown frozen for strictly more than 2000 ms.
  const uint32_t start = Game->PhaseStart;
  Steps(3);
  EXPECT_EQ(Target.Pixels, Host.Snapshot.Pixels);
  EXPECT_EQ(Host.GameOvers, 0);
  Time.Tick = start + 2000;
  Game->Step(Target);
  EXPECT_EQ(Host.GameOvers, 0);
  Time.Tick = start + 2001;
  Game->Step(Target);
  EXPECT_EQ(Host.GameOvers, 1);
  EXPECT_EQ(Host.CursorCounter, 0);
  EXPECT_EQ(Host.Events.back(), "StartMusic 1.xm");
}

TEST_F(PhaseTest, TheEndReportsTheScoreWithTheLastPicture) {
  for (const int32_t score : {500, 501}) {
    Host = FakeHost();
    Host.Music = false;
    NewGame();
    Step();
    Game->Score = score;
    Game->Phase = phaseGameOver;  // the leave-the-game answer; the intro is older than 2000 ms
    Time.Tick += 2100;
    Host.Events.clear();
    Step();
    EXPECT_TRUE(Host.Events.empty());  // music off: nothing started
    EXPECT_EQ(Host.GameOvers, 1);
    EXPECT_EQ(Host.OverScore, score);
    EXPECT_EQ(Host.OverFrame, Target.Pixels);
    Step();  // told once
    EXPECT_EQ(Host.GameOvers, 1);
  }
}

TEST_F(PhaseTest, KillAndDeathInOneStepCompletesTheLevelWithoutLosingALife) {
  StartPlaying();
  Game->Kills = 2;
  Game->Ship.X = 300;
  Game->Ship.Y = 480;
  Game->Health = 15;
  PlaceEnemy(0, enmCutter, 300, 470);  // rams: 15 hit points against 15 health
  Step();
  EXPECT_EQ(Game->Health, 0);
  EXPECT_EQ(Game->Kills, 3);
  EXPECT_EQ(Game->Phase, phasePlaying);
  Step();
  EXPECT_EQ(Game->Phase, phaseWindDown);
  EXPECT_EQ(Game->Level, 2);
  EXPECT_EQ(Game->Lives, 3);
  int guard = 0;
  while (Game->Phase != phasePlaying && guard++ < 2000) Step();
  EXPECT_EQ(Game->Lives, 3);
  EXPECT_EQ(Game->Health, 72);
  EXPECT_EQ(Game->Level, 2);
}

TEST_F(PhaseTest, MouseIsReadEveryStepAndCursorRecentredOnlyWhileSteering) {
  NewGame();
  Step();
  EXPECT_EQ(Host.CursorMoves, 0);
  Host.Steering = true;
  Step();
  EXPECT_EQ(Host.CursorMoves, 1);
  EXPECT_EQ(Host.CursorX, 700);
  EXPECT_EQ(Host.CursorY, 500);
  // A failed read leaves the state zero: no motion, no buttons.
  Game->Mouse.X = 5;
  Game->Mouse.Buttons[0] = 0x80;
  Host.MouseFails = true;
  Step();
  EXPECT_EQ(Game->Mouse.X, 0);
  EXPECT_EQ(Game->Mouse.Buttons[0], 0);
}

}  // namespace
}  // namespace sf::testing
