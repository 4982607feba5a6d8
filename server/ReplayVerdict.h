#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// The verdict of playing a replay back, as the replay library defines it (src/replay/ReplayVerify.h).
// The service keeps its own copy until it links that library; the two must stay the same.
#ifdef SALTFANG_SERVER_REPLAY_LIBRARY
#include "replay/ReplayVerify.h"
#else
namespace replay {

struct Limits {
  std::size_t maxFileBytes = 4u << 20;
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
};

}  // namespace replay
#endif
