#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "core/Random.h"
#include "game/Game.h"
#include "platform/Clock.h"
#include "replay/HeadlessHost.h"
#include "replay/ReplayBody.h"
#include "replay/ReplayFormat.h"

namespace replay {

// A recorded game played again by the game's own simulation: every step gets the recorded tick,
// keys and mouse, every re-seed the recorded value, and what happened between steps happens again.
// The caller chooses the pictures and the target: real ones to watch, empty ones to check.
class ReplayPlayer {
 public:
  // replay must outlive the player.
  ReplayPlayer(const DecodedReplay& replay, const sf::ImageSets& images, sf::TextRenderer& text, sf::Surface& snapshot);
  ~ReplayPlayer();
  ReplayPlayer(const ReplayPlayer&) = delete;
  ReplayPlayer& operator=(const ReplayPlayer&) = delete;

  // Applies what happened before the next step, then plays that step drawing on target. False at
  // the end of the game's recording (the end of the file, or the name entry that follows the game)
  // or on an error (Error() says which).
  bool Step(sf::Surface& target);

  const std::string& Error() const { return error_; }
  // Where the game departed from its recording (the first checkpoint that differs): the step
  // and the milliseconds of game time since the start; 0 while it has not.
  uint32_t DepartureStep() const { return departureStep_; }
  uint32_t DepartureMs() const { return departureMs_; }
  // The last step whose checkpoint matched (0 before the first).
  uint32_t LastCheckpointStep() const { return lastCheckpoint_; }
  // Game time since the start, in milliseconds, at the step last played.
  uint32_t ElapsedMs() const { return clock_.Tick - startTick_; }
  uint32_t StepsPlayed() const { return steps_; }
  // The tick of the step last played.
  uint32_t Tick() const { return clock_.Tick; }
  // The game was paused or lost the focus just before the step last played.
  bool Interrupted() const { return interrupted_; }
  // The game has handed over to the menus: it is over.
  bool GameOver() const { return host_.Over; }
  const sf::TGame& Game() const { return *game_; }
  // The game's effects and music go to sound (nothing when null); muted holds the effects back.
  void SetSound(sf::Audio* sound, bool muted) {
    host_.Sound = sound;
    host_.Muted = muted;
  }

 private:
  // The recorded tick; the recorded re-seeds in order.
  struct Clock : sf::Clock {
    uint32_t TickCount() override { return Tick; }
    uint64_t PerformanceCounter() override;
    uint64_t PerformanceFrequency() override { return 1; }
    void Sleep(uint32_t) override {}
    uint32_t MsUntilNextTick() override { return 1; }

    uint32_t Tick = 0;
    ReplayPlayer* Player = nullptr;
  };

  uint32_t NextSeed();
  // After every kCheckpointSteps-th step of a file with checkpoints, the next record is one.
  bool CheckCheckpoint();

  BodyReader reader_;
  Clock clock_;
  HeadlessHost host_;  // the recorded keys and mouse
  sf::Random random_;
  std::unique_ptr<sf::TGame> game_;
  std::string error_;
  uint32_t steps_ = 0;
  uint32_t startTick_ = 0;
  bool checkpoints_ = false;
  uint32_t lastCheckpoint_ = 0;
  uint32_t departureStep_ = 0;
  uint32_t departureMs_ = 0;
  bool interrupted_ = false;
};

}  // namespace replay
