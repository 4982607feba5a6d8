#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Random.h"
#include "game/Game.h"
#include "game/GameHost.h"
#include "gfx/ImageSets.h"
#include "gfx/Surface.h"
#include "gfx/Text.h"
#include "platform/Clock.h"

namespace sf::testing {

// Time that only moves when the test says so. The counter advances by itself on every read, as a
// fine-grained counter does, unless frozen.
class ManualClock : public Clock {
 public:
  uint32_t TickCount() override { return Tick; }
  uint64_t PerformanceCounter() override { return FrozenCounter ? Counter : (Counter += 7919); }
  uint64_t PerformanceFrequency() override { return 1000000; }
  void Sleep(uint32_t ms) override { Tick += ms; }
  uint32_t MsUntilNextTick() override { return 1; }

  uint32_t Tick = 100000;
  uint64_t Counter = 1;
  bool FrozenCounter = false;
};

struct PlayedSound {
  int32_t X, Y;
  SoundId Id;
};

// Records what the game asks of the main window.
class FakeHost : public GameHost {
 public:
  FakeHost() : Snapshot(800, 600) { Keys.fill(0); }

  const uint8_t* KeyboardState() const override { return Keys.data(); }
  bool ReadMouseState(MouseState& state) override {
    if (MouseFails) return false;
    state = NextMouse;
    NextMouse = MouseState{};  // relative motion is consumed by the read
    return true;
  }
  bool MouseSteering() const override { return Steering; }
  void SetCursorPos(int32_t x, int32_t y) override {
    CursorX = x;
    CursorY = y;
    ++CursorMoves;
  }
  void ShowCursor(bool show) override { CursorCounter += show ? 1 : -1; }
  void PlaySoundAt(int32_t x, int32_t y, SoundId sound) override {
    if (RecordSounds) Sounds.push_back({x, y, sound});
    Events.push_back(sound == sndLoose ? "Loose" : sound == sndWin ? "Win" : "");
    if (Events.back().empty()) Events.pop_back();
  }
  void StopMusic() override {
    ++MusicStops;
    Events.push_back("StopMusic");
  }
  void StartMusic(const char* module) override { Events.push_back(std::string("StartMusic ") + module); }
  bool MusicOn() const override { return Music; }
  void GameOver(int32_t score, const Surface& lastFrame) override {
    ++GameOvers;
    OverScore = score;
    OverFrame = lastFrame.Pixels;
  }
  Surface& SnapshotSurface() override { return Snapshot; }

  int CountSounds(SoundId id) const {
    int n = 0;
    for (const auto& s : Sounds) n += s.Id == id ? 1 : 0;
    return n;
  }

  std::array<uint8_t, 256> Keys;
  MouseState NextMouse;
  bool MouseFails = false;
  bool Steering = false;
  int32_t CursorX = -1, CursorY = -1;
  int CursorMoves = 0;
  int CursorCounter = 0;
  bool RecordSounds = true;
  std::vector<PlayedSound> Sounds;
  std::vector<std::string> Events;
  int MusicStops = 0;
  bool Music = true;
  int GameOvers = 0;
  int32_t OverScore = -1;
  std::vector<uint32_t> OverFrame;
  Surface Snapshot;
};

// Colour of the plain test picture of game image k (opaque, distinct per image).
uint32_t GameImageColour(int k);
uint32_t MenuImageColour(int k);
// Both image sets with plain pictures of the pack's sizes.
const ImageSets& TestImages();
TextRenderer& TestText();

// One game with fakes around it, its clock at a whole number of 64 Hz ticks.
class GameTest : public ::testing::Test {
 protected:
  GameTest() : Target(800, 600) {}

  void NewGame() {
    Game.reset();
    Game = std::make_unique<TGame>(Host, Time, Rand, TestImages(), TestText());
  }
  // One drawn frame: the tick moves on by one 64 Hz period (15 or 16 ms, 15.625 on average) first.
  void Step() {
    FrameCount++;
    Time.Tick += static_cast<uint32_t>(FrameCount * 125 / 8 - (FrameCount - 1) * 125 / 8);
    Game->Step(Target);
  }
  void Steps(int n) {
    for (int i = 0; i < n; ++i) Step();
  }
  // Runs the game from creation to the start of play of its first level.
  void StartPlaying() {
    NewGame();
    for (int i = 0; i < 400 && Game->Phase != phasePlaying; ++i) Step();
    ASSERT_EQ(Game->Phase, phasePlaying);
  }
  // An enemy of a kind placed in a slot, standing still unless told otherwise.
  TEnemyShip& PlaceEnemy(uint8_t slot, EnemyKind kind, int16_t x, int16_t y) {
    TEnemyShip& e = Game->Engine.CreateEnemy(slot, kind);
    e.X = x;
    e.Y = y;
    return e;
  }
  int CountSlots(const auto& slots) const {
    int n = 0;
    for (const auto& s : slots) n += s ? 1 : 0;
    return n;
  }

  ManualClock Time;
  FakeHost Host;
  Random Rand{12345};
  Surface Target;
  std::unique_ptr<TGame> Game;
  int FrameCount = 0;
};

}  // namespace sf::testing
