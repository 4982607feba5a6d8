#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "replay/ReplayVerify.h"

namespace sf::scores {

// Plays a replay file back without a window and says what it scored. Implementations bound their
// own work by replay::Limits; every call may come from several threads at once.
class ReplayVerifier {
 public:
  virtual ~ReplayVerifier() = default;
  virtual replay::Verdict Verify(std::span<const std::uint8_t> file) = 0;
  // A quick look at an upload before it is stored (no game is played): empty when it may be a
  // replay, else the sentence why it is none.
  virtual std::string Screen(std::span<const std::uint8_t> file) {
    (void)file;
    return {};
  }
  // The fingerprint of the file's game (replay::GameFingerprint), empty when it has none.
  virtual std::string Fingerprint(std::span<const std::uint8_t> file) {
    (void)file;
    return {};
  }
};

// The verifier the service runs with: the game's own simulation through the replay library.
std::unique_ptr<ReplayVerifier> MakeReplayVerifier(const replay::Limits& limits);

// A result is verified only when its replay played to the end with the submitted score, and the
// replay's own header claims that same score.
inline bool ConfirmsScore(const replay::Verdict& v, int64_t submittedScore) {
  return v.ok && v.score == submittedScore && v.claimedScore == submittedScore;
}

// A replay of format 3 on holds the name typed after its game: the result must be sent under it.
// Empty when it is, else the sentence why not. Older replays hold no name.
std::string NameMismatch(const replay::Verdict& v, std::string_view submittedName);

}  // namespace sf::scores
