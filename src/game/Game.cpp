#include "game/Game.h"

#include <charconv>
#include <string_view>

#include "gfx/Blit.h"
#include "gfx/DrawOps.h"

namespace sf {

namespace {

// Decimal text of a number in a caller's buffer: no allocation in the drawing path.
struct Decimal {
  char Buffer[16];
  std::string_view View;
  explicit Decimal(int64_t value, const char* prefix = "") {
    size_t n = 0;
    while (prefix[n] != '\0' && n < 8) {
      Buffer[n] = prefix[n];
      ++n;
    }
    const auto result = std::to_chars(Buffer + n, Buffer + sizeof(Buffer), value);
    View = std::string_view(Buffer, static_cast<size_t>(result.ptr - Buffer));
  }
};

constexpr uint32_t kIntroLength = 2150;
constexpr uint32_t kGameOverLength = 2000;
// Rejected candidates after which the enemy choice gives up on the generator: with a counter that
// does not move, re-seeding would repeat the same candidate for ever.
constexpr int kMaxRolls = 300;

struct KindRow {
  int32_t A, B;
  uint8_t Accepted;  // bit k set: kind k accepted
};
constexpr uint8_t Kinds(std::initializer_list<EnemyKind> kinds) {
  uint8_t mask = 0;
  for (EnemyKind k : kinds) mask = static_cast<uint8_t>(mask | (1u << Index(k)));
  return mask;
}
constexpr KindRow kKindRows[10] = {
    {70, 10, Kinds({enmCutter, enmDestroyer, enmCrulser, enmBattleShip, enmBomber, enmHelicopter})},
    {70, 10, Kinds({enmCutter})},
    {70, 10, Kinds({enmCutter, enmDestroyer})},
    {10, 70, Kinds({enmCutter, enmDestroyer, enmCrulser})},
    {70, 10, Kinds({enmCutter, enmDestroyer, enmCrulser, enmBattleShip})},
    {70, 10, Kinds({enmCutter, enmDestroyer, enmCrulser, enmBattleShip, enmBomber})},
    {10, 70, Kinds({enmCutter, enmDestroyer, enmCrulser, enmBattleShip, enmBomber, enmHelicopter})},
    {70, 10, Kinds({enmCutter, enmDestroyer, enmCrulser, enmBattleShip, enmBomber, enmHelicopter})},
    {70, 10, Kinds({enmCutter, enmDestroyer, enmCrulser, enmBattleShip, enmBomber, enmHelicopter})},
    {10, 70, Kinds({enmCutter, enmDestroyer, enmCrulser, enmBattleShip, enmBomber, enmHelicopter})},
};

}  // namespace

TGame::TGame(GameHost& host, Clock& clock, Random& random, const ImageSets& images, TextRenderer& text,
             GameRecorder* recorder)
    : Host(host),
      Clk(clock),
      Rand(random),
      Images(images),
      Text(text),
      Recorder(recorder),
      Ship(*this),
      Engine(*this),
      Background(*this) {
  Host.ShowCursor(false);
  Ship.Y = 510;
  PhaseStart = Tick();
  if (Recorder) Recorder->GameStarted(Rand.SeedValue(), LatchedTick);
  TickLatched = false;
}

void TGame::Step(Surface& target) {
  LatchedTick = Clk.TickCount();
  TickLatched = true;
  Mouse = MouseState{};
  if (!Host.ReadMouseState(Mouse)) Mouse = MouseState{};
  if (Host.MouseSteering()) Host.SetCursorPos(700, 500);
  if (Recorder) {
    StepInputs inputs;
    inputs.Tick = LatchedTick;
    inputs.Keys = HeldGameKeys(Host.KeyboardState());
    inputs.Mouse = Mouse;
    Recorder->StepStarted(inputs);
  }

  switch (Phase) {
    case phaseWindDown: StepWindDown(target); break;
    case phaseIntro: StepIntro(target); break;
    case phasePlaying: StepPlaying(target); break;
    case phaseGameOver: StepGameOver(target); break;
  }
  TickLatched = false;
  if (Recorder) Recorder->StepEnded(*this);
}

void TGame::StepWindDown(Surface& target) {
  Now = Tick();
  Background.Step(target);
  Ship.Step(target);
  StepHits(target);
  StepIslands(target);
  StepRunScores(target);
  DrawHud(target);

  for (const auto& hit : Hits)
    if (hit) return;
  for (const auto& score : RunScores)
    if (score) return;

  // Lives is never below 0 in play; "> 0" keeps a game whose lives were set from outside finite.
  if (Lives > 0) {
    Phase = phaseIntro;
    Host.PlaySoundAt(400, 800, sndWin);
    PhaseStart = Tick();
  } else {
    Host.StopMusic();
    Phase = phaseGameOver;
    Host.PlaySoundAt(400, 100, sndLoose);
    PhaseStart = Tick();
    BuildGameOverPicture(target);
  }
}

void TGame::BuildGameOverPicture(const Surface& finished) {
  Surface& snapshot = Host.SnapshotSurface();
  BltFast(snapshot, 0, 0, finished, false);
  const Surface& scanLine = Images.Menu(menuImgScanLine);
  for (int32_t i = 0; i < 300; ++i) BltFast(snapshot, 0, 2 * i, scanLine, true);
  Text.DrawShadowText(snapshot, 310, 300, 32, 20, "Game Over", kHighlightColour);
}

void TGame::StepIntro(Surface& target) {
  Now = Tick();
  Ship.X = 390;
  Ship.Y = 500;
  Background.Step(target);
  StepIslands(target);
  Ship.Step(target);
  const Decimal level(Level, "Level ");
  Text.DrawShadowText(target, 330, 260, 32, 20, level.View, kNormalColour);
  if (Now - PhaseStart > kIntroLength) {
    Phase = phasePlaying;
    Engine.Clear();
    Kills = 0;
    Health = kMaxHealth;
  }
  DrawHud(target);
}

void TGame::StepPlaying(Surface& target) {
  if (Kills >= 3 * static_cast<int32_t>(Level)) {
    Level = static_cast<uint8_t>(Level + 1);
    Phase = phaseWindDown;  // the rest of this step still runs as a playing step
  }
  Now = Tick();
  Background.Step(target);
  StepIslands(target);
  Ship.Step(target);
  Engine.Step(target);
  StepBonuses(target);
  StepHits(target);
  StepRunScores(target);
  DrawHud(target);
}

void TGame::StepGameOver(Surface& target) {
  Now = Tick();
  BltFast(target, 0, 0, Host.SnapshotSurface(), false);
  if (Now - PhaseStart > kGameOverLength) {
    Host.ShowCursor(true);
    Host.GameOver(Score, target);
    if (Host.MusicOn()) Host.StartMusic("1.xm");
    PhaseStart = Tick();
  }
}

void TGame::StepHits(Surface& target) {
  for (auto& hit : Hits)
    if (hit && !hit->Step(target)) hit.reset();
}

void TGame::StepIslands(Surface& target) {
  for (auto& island : Islands)
    if (island && !island->Step(target)) island.reset();
}

void TGame::StepRunScores(Surface& target) {
  for (auto& score : RunScores)
    if (score && !score->Step(*this, target)) score.reset();
}

void TGame::StepBonuses(Surface& target) {
  for (auto& bonus : Bonuses)
    if (bonus && !bonus->Step(target)) bonus.reset();
}

void TGame::DrawHud(Surface& target) {
  BltFast(target, 0, 0, Images.Game(imgLeftPanel), true);
  BltFast(target, 682, 0, Images.Game(imgRightPanel), true);

  const Decimal level(Level);
  Text.DrawAlignedText(target, 58, 85, 30, 12, level.View, kHighlightColour, kAlignCenter, false);
  const Decimal score(Score);
  Text.DrawAlignedText(target, 58, 205, 30, 11, score.View, kHighlightColour, kAlignCenter, false);
  if (Weapon < kWeaponCount) {
    const Decimal ammo(Ammo[Weapon]);
    Text.DrawAlignedText(target, 793, 360, 20, 10, ammo.View, kHighlightColour, kAlignRight, false);
  }

  if (Health > 0 && Health <= kMaxHealth) {
    const int32_t rows = 2 * Health;
    BltFast(target, 708, 586 - rows, Images.Game(imgHealthBar), Rect{0, 144 - rows, 28, 144}, true);
  }
  for (int32_t d = 0; d < Lives; ++d) BltFast(target, 9 + 34 * d, 320, Images.Game(imgLife), true);

  for (int32_t w = 0; w < kWeaponCount; ++w) {
    if (Ammo[static_cast<size_t>(w)] > 0)
      BltFast(target, 700, 33 + 61 * w, Images.Game(imgWeaponIcons), Rect{0, 61 * w, 61, 61 * w + 61}, true);
  }
  if (Weapon < kWeaponCount) {
    const int32_t w = Weapon;
    BltFast(target, 700, 33 + 61 * w, Images.Game(imgWeaponSelected), Rect{0, 61 * w, 61, 61 * w + 61}, true);
  }
}

void TGame::Leave() {
  Phase = phaseGameOver;
  if (Recorder) Recorder->EventHappened(GameEvent::Leave);
}

void TGame::NoteInterruption(GameEvent event) {
  if (Recorder) Recorder->EventHappened(event);
}

void TGame::SelectNextWeapon() {
  if (Recorder) Recorder->EventHappened(GameEvent::WeaponChange);
  const int w = Weapon;
  if (w > 3) {
    Weapon = 0;
    return;
  }
  for (int next = w + 1; next < kWeaponCount; ++next) {
    if (Ammo[static_cast<size_t>(next)] >= 1) {
      Weapon = static_cast<uint8_t>(next);
      return;
    }
  }
  Weapon = 0;
}

void TGame::AddRunScore(int16_t x, int16_t y, uint16_t value) {
  for (auto& slot : RunScores) {
    if (!slot) {
      slot.emplace(x, y, static_cast<int16_t>(value));
      return;
    }
  }
}

void TGame::SpawnHit(int16_t x, int16_t y, HitKind kind, int8_t startFrame) {
  for (size_t i = 0; i < Hits.size(); ++i) {
    if (!Hits[i]) {
      Hits[i].emplace(*this, kind, static_cast<uint8_t>(i), x, y, startFrame);
      return;
    }
  }
}

uint8_t TGame::FirstFreeBonusSlot() const {
  for (size_t i = 0; i < Bonuses.size(); ++i)
    if (!Bonuses[i]) return static_cast<uint8_t>(i);
  return kNoSlot;
}

EnemyKind TGame::RollKind(int32_t a, int32_t b) {
  const uint64_t counter = Clk.PerformanceFrequency() != 0 ? Clk.PerformanceCounter() : Tick();
  const auto seed = static_cast<uint32_t>(counter);
  if (Recorder) Recorder->Reseeded(seed);
  Rand.Seed(seed);
  const int32_t c = RandInt(100);
  if (c <= a) return static_cast<EnemyKind>(RandInt(4));
  if (c < a + b) return static_cast<EnemyKind>(4 + RandInt(3));
  return static_cast<EnemyKind>(7 + RandInt(2));
}

EnemyKind TGame::PickEnemyKind() {
  int32_t level = Level;
  while (level > 9) level %= 10;
  const KindRow& row = kKindRows[level];
  EnemyKind kind = enmCutter;  // the first accepted kind of every row
  for (int roll = 0; roll < kMaxRolls; ++roll) {
    const EnemyKind candidate = RollKind(row.A, row.B);
    if (row.Accepted & (1u << Index(candidate))) {
      kind = candidate;
      break;
    }
  }
  if (RandInt(10) == 5) return enmSupplyPlane;
  return kind;
}

}  // namespace sf
