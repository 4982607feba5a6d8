#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "audio/Audio.h"
#include "gfx/ImageSets.h"
#include "gfx/Surface.h"
#include "gfx/Text.h"
#include "replay/ReplayFormat.h"
#include "replay/ReplayPlayer.h"

namespace replay {

// Watching a replay: plays it at its recorded pace, faster or slower, pauses, steps, seeks and
// restarts. Seeking plays the game again without drawing (thousands of game seconds a second),
// from the start when it goes back. A gap in the recording longer than a second (a pause, a lost
// focus) is shown as one second, so "view time" is game time with those gaps cut short.
// Platform-free: its owner calls Advance once per frame with its own clock, presents the target,
// and hands over the keys.
class ReplayViewer {
 public:
  static constexpr uint32_t kMaxGapMs = 1000;
  static constexpr uint32_t kSeekMs = 10000;
  // The speeds, in quarters of the recorded pace: 1/4x to 16x.
  static constexpr std::array<uint32_t, 7> kSpeedQuarters = {1, 2, 4, 8, 16, 32, 64};
  static constexpr size_t kNormalSpeed = 2;

  // replay must outlive the viewer; the first step is drawn on target.
  ReplayViewer(const DecodedReplay& replay, const sf::ImageSets& images, sf::TextRenderer& text, sf::Surface& snapshot,
               sf::Surface& target);

  // Plays the steps due by wallMs (the owner's millisecond clock) at the chosen speed and draws
  // the last of them on target; true when target holds a new picture.
  bool Advance(uint32_t wallMs, sf::Surface& target);

  void TogglePause();
  void Faster();
  void Slower();
  // Goes to a moment of view time (held to the recording) and draws it.
  void SeekTo(uint32_t viewMs, sf::Surface& target);
  void SeekBy(int32_t deltaMs, sf::Surface& target);
  // One step forward, paused.
  void StepOnce(sf::Surface& target);
  // Back to the first step, keeping the speed and the pause.
  void Restart(sf::Surface& target);
  // One of the viewer's keys (Windows virtual-key codes): Space or P pauses and resumes, Left and
  // Right seek 10 s, Up and Down (or + and -) change the speed, S or "." steps, Home or R
  // restarts. False for Esc, which leaves.
  bool Key(uint16_t vk, sf::Surface& target);

  uint32_t ElapsedMs() const { return viewMs_; }
  uint32_t TotalMs() const { return totalMs_; }
  uint32_t Steps() const { return player_->StepsPlayed(); }
  uint32_t TotalSteps() const { return totalSteps_; }
  bool Paused() const { return paused_; }
  double Speed() const { return kSpeedQuarters[speed_] / 4.0; }
  // The recording has been played to its end (or stopped at an error).
  bool Ended() const { return ended_; }
  const std::string& Error() const { return player_->Error(); }
  const sf::TGame& Game() const { return player_->Game(); }
  // One line for people: "1:23 / 15:00 | 4x | paused | step 5312 of 57601 | score 430".
  std::string Status() const;

  // The game's effects and its music go to sound (null: silent). Effects are held back while
  // seeking and above twice the recorded pace.
  void SetSound(sf::Audio* sound);

 private:
  void Reset();
  bool PlayOne(sf::Surface& target);
  void UpdateSound();

  const DecodedReplay& replay_;
  const sf::ImageSets& images_;
  sf::TextRenderer& text_;
  sf::Surface& snapshot_;
  std::unique_ptr<ReplayPlayer> player_;
  sf::Surface nothing_;  // the target of steps nobody sees
  uint32_t totalMs_ = 0;
  uint32_t totalSteps_ = 0;
  uint32_t viewMs_ = 0;
  uint32_t lastTick_ = 0;
  double dueMs_ = 0;  // the view time the viewer should have reached
  uint32_t lastWall_ = 0;
  bool haveWall_ = false;
  bool paused_ = false;
  bool ended_ = false;
  bool seeking_ = false;
  size_t speed_ = kNormalSpeed;
  sf::Audio* sound_ = nullptr;
};

// "m:ss" of milliseconds.
std::string ViewClock(uint32_t ms);

}  // namespace replay
