#include "ReplayVerifier.h"

namespace sf::scores {
namespace {

// Plays the replay with the game's own simulation (sf_replay), headless and within the limits.
class LibraryReplayVerifier final : public ReplayVerifier {
 public:
  explicit LibraryReplayVerifier(const replay::Limits& limits) : limits_(limits) {}
  replay::Verdict Verify(std::span<const std::uint8_t> file) override { return replay::PlayBack(file, limits_); }

 private:
  replay::Limits limits_;
};

}  // namespace

std::unique_ptr<ReplayVerifier> MakeReplayVerifier(const replay::Limits& limits) {
  return std::make_unique<LibraryReplayVerifier>(limits);
}

}  // namespace sf::scores
