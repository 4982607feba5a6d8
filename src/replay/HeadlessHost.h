#pragma once
#include <array>
#include <cstdint>

#include "game/GameHost.h"

namespace replay {

// A game host without a window, sound or music: the game reads the keys and mouse its owner puts
// in Keys and Mouse, and its end is noted. Replays and scripted games both run on it.
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
  void PlaySoundAt(int32_t, int32_t, sf::SoundId) override {}
  void StopMusic() override {}
  void StartMusic(const char*) override {}
  bool MusicOn() const override { return false; }
  void GameOver(int32_t, const sf::Surface&) override { Over = true; }
  sf::Surface& SnapshotSurface() override { return snapshot_; }

  std::array<uint8_t, 256> Keys{};
  sf::MouseState Mouse;
  bool Over = false;

 private:
  sf::Surface& snapshot_;
};

}  // namespace replay
