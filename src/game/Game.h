#pragma once
#include <array>
#include <cstdint>
#include <optional>

#include "core/Random.h"
#include "game/Effects.h"
#include "game/Enemy.h"
#include "game/GameHost.h"
#include "game/GameRecorder.h"
#include "game/GameTables.h"
#include "game/MyShip.h"
#include "game/Scenery.h"
#include "game/SimArithmetic.h"
#include "gfx/ImageSets.h"
#include "gfx/Surface.h"
#include "gfx/Text.h"
#include "platform/Clock.h"
#include "platform/Input.h"

namespace sf {

// One game: the world, its phases and levels, the side panels and the end of the game.
// The main window creates it for a new game and calls Step once per drawn frame while the screen
// state is scrGame. Creating it hides the system cursor.
class TGame {
 public:
  // With a recorder, everything the game reads from outside its world goes to it as well.
  TGame(GameHost& host, Clock& clock, Random& random, const ImageSets& images, TextRenderer& text,
        GameRecorder* recorder = nullptr);
  TGame(const TGame&) = delete;
  TGame& operator=(const TGame&) = delete;

  // Advances the world by one step and draws the whole frame on target (the 800 x 600 back buffer).
  void Step(Surface& target);

  // Changes to the next weapon that has ammunition (weapon 0 after the last).
  void SelectNextWeapon();
  // The player leaves the game: the game-over picture follows.
  void Leave();
  // A pause or a change of focus interrupted the game (only recorded: the world does not change).
  void NoteInterruption(GameEvent event);
  // Floating score at (x, y); nothing when all 10 slots are taken.
  void AddRunScore(int16_t x, int16_t y, uint16_t value);
  // Explosion or impact flash; nothing when all 20 slots are taken.
  void SpawnHit(int16_t x, int16_t y, HitKind kind, int8_t startFrame);
  // The level-dependent choice of the next enemy kind.
  EnemyKind PickEnemyKind();
  // One candidate kind with the row weights a and b; re-seeds the generator first. Candidate 8 is
  // no kind: every row rejects it.
  EnemyKind RollKind(int32_t a, int32_t b);

  // Program services (not owned).
  GameHost& Host;
  Clock& Clk;
  Random& Rand;
  const ImageSets& Images;
  TextRenderer& Text;
  GameRecorder* Recorder;

  // Within a step every reading of the tick gives the step's tick, so a replay needs one tick per
  // step; outside a step (creation, tests driving single entities) the clock is read directly.
  bool TickLatched = true;
  uint32_t LatchedTick = Clk.TickCount();

  // The world, in the order of the design.
  uint8_t Level = 1;
  int32_t Score = 0;
  int32_t Kills = 0;
  TMyShip Ship;
  TEnemyEngine Engine;
  std::array<uint16_t, kWeaponCount> Ammo{};
  std::array<std::optional<TIsland>, kIslandSlots> Islands;
  std::array<std::optional<THit>, kHitSlots> Hits;
  std::array<std::optional<TBonus>, kBonusSlots> Bonuses;
  TRunBackground Background;
  std::array<std::optional<TRunScore>, kRunScoreSlots> RunScores;
  GamePhase Phase = phaseWindDown;
  uint32_t Now = 0;
  uint32_t PhaseStart = 0;
  int16_t Lives = 3;
  int16_t Health = kMaxHealth;
  uint8_t Weapon = 0;
  // The game's mouse state, read at the start of every step.
  MouseState Mouse;

  uint32_t Tick() { return TickLatched ? LatchedTick : Clk.TickCount(); }
  int32_t RandInt(int32_t n) { return Rand.RandInt(n); }
  // Lowest empty bonus slot, or 255.
  uint8_t FirstFreeBonusSlot() const;

 private:
  void StepWindDown(Surface& target);
  void StepIntro(Surface& target);
  void StepPlaying(Surface& target);
  void StepGameOver(Surface& target);
  void StepHits(Surface& target);
  void StepIslands(Surface& target);
  void StepRunScores(Surface& target);
  void StepBonuses(Surface& target);
  void DrawHud(Surface& target);
  void BuildGameOverPicture(const Surface& finished);
};

}  // namespace sf
