#pragma once
#include <array>
#include <cstdint>

#include "audio/Audio.h"
#include "game/GameHost.h"

namespace replay {

// A game host without a window: the game reads the keys and mouse its owner puts in Keys and
// Mouse, and its end is noted. Replays and scripted games both run on it. It is silent unless
// given the program's Audio (a replay being watched), whose effects Muted holds back (seeking).
class HeadlessHost : public sf::GameHost {
 public:
  explicit HeadlessHost(sf::Surface& snapshot) : snapshot_(snapshot) {}

  const uint8_t* KeyboardState() const override { return Keys.data(); }
  bool ReadMouseState(sf::MouseState& state) override {
    state = Mouse;
    return true;
  }
  bool MouseSteering() const override { return false; }
  void SetCursorPos(int32_t, int32_t) override {}
  void ShowCursor(bool) override {}
  void PlaySoundAt(int32_t x, int32_t y, sf::SoundId sound) override {
    if (Sound && !Muted) Sound->PlaySoundAt(x, y, sound);
  }
  void StopMusic() override {
    if (Sound) Sound->StopMusic();
  }
  void StartMusic(const char* module) override {
    if (Sound) Sound->StartMusic(module);
  }
  bool MusicOn() const override { return Sound != nullptr; }
  void GameOver(int32_t, const sf::Surface&) override { Over = true; }
  sf::Surface& SnapshotSurface() override { return snapshot_; }

  std::array<uint8_t, 256> Keys{};
  sf::MouseState Mouse;
  bool Over = false;
  sf::Audio* Sound = nullptr;
  bool Muted = false;

 private:
  sf::Surface& snapshot_;
};

}  // namespace replay
