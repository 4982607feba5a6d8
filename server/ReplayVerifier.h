#pragma once
#include <cstdint>
#include <memory>
#include <span>

#include "replay/ReplayVerify.h"

namespace sf::scores {

// Plays a replay file back without a window and says what it scored. Implementations bound their
// own work by replay::Limits; Verify may be called from several threads at once.
class ReplayVerifier {
 public:
  virtual ~ReplayVerifier() = default;
  virtual replay::Verdict Verify(std::span<const std::uint8_t> file) = 0;
};

// The verifier the service runs with: the game's own simulation through the replay library.
std::unique_ptr<ReplayVerifier> MakeReplayVerifier(const replay::Limits& limits);

// A result is verified only when its replay played to the end with the submitted score, and the
// replay's own header claims that same score.
inline bool ConfirmsScore(const replay::Verdict& v, int64_t submittedScore) {
  return v.ok && v.score == submittedScore && v.claimedScore == submittedScore;
}

}  // namespace sf::scores
