#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "GameFixture.h"
#include "core/ScreenState.h"
#include "gfx/Blit.h"

// Counts heap allocations so the soak can show that a running game allocates nothing.
namespace {
std::atomic<uint64_t> gAllocations{0};
std::atomic<bool> gTrapAllocations{false};
}  // namespace

void* operator new(std::size_t size) {
  gAllocations.fetch_add(1, std::memory_order_relaxed);
  if (gTrapAllocations) std::abort();
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
// The replaced operator new takes its memory from malloc, so free is the matching release.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace sf::testing {
namespace {

// A simple scripted player: follows the nearest ship, fires all the time, turns its gun to and
// fro, changes weapon now and then and sometimes steers with the mouse instead of the keys.
class ScriptedPlayer {
 public:
  void Act(TGame& game, FakeHost& host, uint64_t step) {
    host.Keys.fill(0);
    host.NextMouse = MouseState{};
    int target = 400;
    for (const auto& e : game.Engine.Slots) {
      if (e && e->Kind != enmSupplyPlane && e->Y > 0) {
        target = e->X + Info(e->Kind).Size.Width / 2;
        break;
      }
    }
    // Catch falling bonuses first.
    for (const auto& b : game.Bonuses)
      if (b && b->Y > 200) target = b->X + 12;
    const int shipCentre = game.Ship.X + 13;
    const bool useMouse = (step / 500) % 3 == 2;
    if (shipCentre < target - 4) {
      if (useMouse) {
        host.NextMouse.X = 5;
      } else {
        host.Keys[kScanRight] = 0x80;
      }
    } else if (shipCentre > target + 4) {
      if (useMouse) {
        host.NextMouse.X = -5;
      } else {
        host.Keys[kScanLeft] = 0x80;
      }
    }
    if ((step / 40) % 4 == 1) host.Keys[kScanUp] = 0x80;
    if ((step / 40) % 4 == 3) host.Keys[kScanDown] = 0x80;
    if (useMouse) {
      host.NextMouse.Buttons[0] = 0x80;
    } else {
      host.Keys[step % 2 ? kScanLeftCtrl : kScanRightCtrl] = 0x80;
    }
    host.Steering = useMouse;
    if (step % 300 == 0 && game.Phase == phasePlaying) game.SelectNextWeapon();
  }
};

class SoakTest : public GameTest {
 protected:
  // Runs the scripted player for a number of steps, starting a new game whenever one ends, and
  // checks the slot bookkeeping after every step.
  void Run(uint64_t steps, Surface& target) {
    ScriptedPlayer player;
    NewGame();
    for (uint64_t i = 0; i < steps; ++i) {
      player.Act(*Game, Host, i);
      FrameCount++;
      Time.Tick += static_cast<uint32_t>(FrameCount * 125 / 8 - (FrameCount - 1) * 125 / 8);
      const uint64_t before = gAllocations.load();
      gTrapAllocations = i >= steps / 2 && std::getenv("SALTFANG_TRAP_ALLOCATIONS") != nullptr;
      Game->Step(target);
      gTrapAllocations = false;
      (i < steps / 2 ? EarlyStepAllocations : LateStepAllocations) += gAllocations.load() - before;

      int enemies = 0;
      for (const auto& e : Game->Engine.Slots) {
        if (!e) continue;
        ++enemies;
        ASSERT_GE(e->Gunner.ShotCount(), 0);
        ASSERT_LT(Index(e->Kind), kEnemyKindCount);
        if (Game->Phase == phasePlaying && e->Kind == enmIslandGun) {
          ASSERT_NE(e->IslandY, nullptr);  // no gun outlives its island in play
        }
      }
      ASSERT_EQ(enemies, Game->Engine.Count);
      ASSERT_LE(Game->Health, kMaxHealth + 50 * kBonusSlots);
      ASSERT_GE(Game->Lives, 0);
      ASSERT_LT(Game->Weapon, kWeaponCount);
      MaxLevel = std::max<int>(MaxLevel, Game->Level);
      MaxScore = std::max(MaxScore, Game->Score);
      MaxEnemies = std::max(MaxEnemies, enemies);
      for (const auto& e : Game->Engine.Slots)
        if (e) KindsSeen |= 1u << Index(e->Kind);
      BonusesSeen += CountSlots(Game->Bonuses) > 0 ? 1 : 0;

      if (Host.GameOvers > 0) {
        ++GamesPlayed;
        Host.GameOvers = 0;
        Host.Events.clear();
        NewGame();
        // Later games start on later levels, so every row of the enemy choice is played.
        Game->Level = static_cast<uint8_t>(1 + (GamesPlayed * 3) % 13);
      }
    }
  }

  // Heap allocations inside Step in the first and the second half of the run. Only caches that
  // fill once (glyphs of a new size) may allocate; entities live in fixed slots.
  uint64_t EarlyStepAllocations = 0;
  uint64_t LateStepAllocations = 0;
  uint32_t KindsSeen = 0;
  int MaxLevel = 0;
  int32_t MaxScore = 0;
  int MaxEnemies = 0;
  int GamesPlayed = 0;
  int BonusesSeen = 0;
};

uint64_t SoakSteps() {
  // One simulated hour at 64 steps a second; SALTFANG_SOAK_STEPS shortens or lengthens it.
  if (const char* env = std::getenv("SALTFANG_SOAK_STEPS")) return std::strtoull(env, nullptr, 10);
  return 64ull * 60 * 60;
}

TEST_F(SoakTest, ScriptedPlayerForOneSimulatedHour) {
  Host.RecordSounds = false;
  // A small target keeps the drawing cheap; every drawing operation clips to its target.
  Surface small(16, 16);
  Run(SoakSteps(), small);
  EXPECT_GT(GamesPlayed, 0);
  EXPECT_GT(MaxLevel, 1);
  EXPECT_GT(MaxScore, 0);
  EXPECT_GT(BonusesSeen, 0);
  if (SoakSteps() >= 64 * 600) {
    EXPECT_EQ(KindsSeen, 0xFFu) << "every enemy kind appears in a long run";
  }
  EXPECT_LE(MaxEnemies, kEnemySlots);
  EXPECT_LE(LateStepAllocations, 16u) << "steps allocate: memory grows";
  RecordProperty("earlyStepAllocations", static_cast<int>(EarlyStepAllocations));
  RecordProperty("lateStepAllocations", static_cast<int>(LateStepAllocations));
  RecordProperty("games", GamesPlayed);
  RecordProperty("maxLevel", MaxLevel);
  RecordProperty("maxScore", MaxScore);
}

uint64_t Checksum(const Surface& s, uint64_t h) {
  for (uint32_t p : s.Pixels) h = (h ^ p) * 1099511628211ull;
  return h;
}

TEST_F(SoakTest, ReplayingTheSameInputGivesTheSameGame) {
  struct Outcome {
    uint64_t Frames = 14695981039346656037ull;
    int32_t Score = 0;
    uint8_t Level = 0;
    int16_t Lives = 0;
    int16_t Health = 0;
    GamePhase Phase = phaseIntro;
    size_t Sounds = 0;
  };
  auto play = [this]() {
    Outcome out;
    Time = ManualClock();
    Host = FakeHost();
    Rand.Seed(2024);
    FrameCount = 0;
    FillSurface(Target, 0);
    ScriptedPlayer player;
    NewGame();
    for (uint64_t i = 0; i < 2000; ++i) {
      player.Act(*Game, Host, i);
      Step();
      if (i % 16 == 0) out.Frames = Checksum(Target, out.Frames);
    }
    out.Score = Game->Score;
    out.Level = Game->Level;
    out.Lives = Game->Lives;
    out.Health = Game->Health;
    out.Phase = Game->Phase;
    out.Sounds = Host.Sounds.size();
    return out;
  };
  const Outcome first = play();
  const Outcome second = play();
  EXPECT_EQ(first.Frames, second.Frames);
  EXPECT_EQ(first.Score, second.Score);
  EXPECT_EQ(first.Level, second.Level);
  EXPECT_EQ(first.Lives, second.Lives);
  EXPECT_EQ(first.Health, second.Health);
  EXPECT_EQ(first.Phase, second.Phase);
  EXPECT_EQ(first.Sounds, second.Sounds);
  EXPECT_GT(first.Score, 0);
}

}  // namespace
}  // namespace sf::testing
