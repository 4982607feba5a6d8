#include "ReplayVerifier.h"

namespace sf::scores {

#ifdef SALTFANG_SERVER_REPLAY_LIBRARY
namespace {
// Plays the replay with the game's own simulation (sf_replay), bounded by the limits.
class LibraryReplayVerifier final : public ReplayVerifier {
 public:
  explicit LibraryReplayVerifier(const replay::Limits& limits) : limits_(limits) {}
  replay::Verdict Verify(std::span<const std::uint8_t> file) override { return replay::PlayBack(file, limits_); }

 private:
  replay::Limits limits_;
};
}  // namespace
#endif

std::unique_ptr<ReplayVerifier> MakeReplayVerifier(const replay::Limits& limits) {
#ifdef SALTFANG_SERVER_REPLAY_LIBRARY
  return std::make_unique<LibraryReplayVerifier>(limits);
#else
  (void)limits;
  return nullptr;
#endif
}

}  // namespace sf::scores
