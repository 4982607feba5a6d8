#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "replay/ReplayFormat.h"

namespace replay {

// What a check of one replay may cost at most.
struct Limits {
  std::size_t maxFileBytes = kMaxFileBytes;
  std::uint32_t maxSteps = 64u * 60u * 120u;
  double maxCpuSeconds = 20.0;
};

struct Verdict {
  bool ok = false;                // the file decoded and the game played to its end within the limits
  std::string error;              // why not, when !ok (a clear sentence)
  std::int64_t score = 0;         // the score the re-played game ended with
  std::int32_t level = 0;         // the level it ended on
  std::uint32_t steps = 0;        // game steps played
  std::int64_t claimedScore = 0;  // what the header says
  // Where the replay departed from its recording (its first checkpoint that differs): the step
  // and the game time in milliseconds; 0 when it did not, or holds no checkpoints.
  std::uint32_t departureStep = 0;
  std::uint32_t departureMs = 0;
  std::uint16_t formatVersion = 0;  // of the file, once its header was read
  // The name typed after the game (format 3 on; see ReplayIdentity.h), and the game's fingerprint:
  // a replay verifies one result, under the name its player typed.
  bool nameEntered = false;
  std::string name;
  std::string fingerprint;
};

// How far a recording's clock may stray from the game's own pace, the 64 Hz system tick (a step
// every 15 or 16 ms). Honest recordings stray only when the machine falls behind (a missed tick,
// a dragged window) and around pauses and focus changes, which the recording marks; a clock
// slowed down or sped up to make the game easier is refused. A pause lets its gap be any length,
// so pauses are counted too: a game paused before every few steps is a game in slow motion.
struct PaceRules {
  std::uint32_t minStepMs = 15;        // steps closer together than one tick never happen
  std::uint32_t stallMs = 250;         // a longer gap needs a pause or focus change before it...
  std::uint32_t stepsPerStall = 3840;  // ...or is one of the few stalls allowed: one a minute, and one more
  std::uint32_t maxMeanStepMs = 24;    // the game at two thirds of its pace or better, on average
  // Pauses and focus losses: four, and one more for every 30 s of play.
  std::uint32_t freeInterruptions = 4;
  std::uint32_t stepsPerInterruption = 1920;
};

// Checks the recorded clock against the rules: an empty string, or the sentence why not.
// checkpoints, names: the body's format has them (2 on, 3 on).
std::string CheckPace(std::span<const std::uint8_t> body, std::uint32_t startTick, bool checkpoints, bool names = true,
                      const PaceRules& rules = {});

// Plays a replay file again with the game's own simulation, without a window, sound, drawing or
// data files, and says how the game ended. Never throws for bad input: a damaged, truncated or
// hostile file gives ok false and the reason. Safe to call from several threads at once.
Verdict PlayBack(std::span<const std::uint8_t> file, const Limits& limits);

}  // namespace replay
