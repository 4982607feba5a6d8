#include "ReplayVerifier.h"

#include "replay/ReplayFormat.h"
#include "replay/ReplayIdentity.h"

namespace sf::scores {
namespace {

// Plays the replay with the game's own simulation (sf_replay), headless and within the limits.
class LibraryReplayVerifier final : public ReplayVerifier {
 public:
  explicit LibraryReplayVerifier(const replay::Limits& limits) : limits_(limits) {}
  replay::Verdict Verify(std::span<const std::uint8_t> file) override { return replay::PlayBack(file, limits_); }
  std::string Screen(std::span<const std::uint8_t> file) override {
    replay::DecodedReplay decoded;
    std::string error;
    return replay::DecodeReplay(file, limits_.maxFileBytes, decoded, error) ? std::string() : error;
  }
  std::string Fingerprint(std::span<const std::uint8_t> file) override {
    replay::DecodedReplay decoded;
    std::string error;
    return replay::DecodeReplay(file, limits_.maxFileBytes, decoded, error) ? replay::GameFingerprint(decoded)
                                                                            : std::string();
  }

 private:
  replay::Limits limits_;
};

}  // namespace

std::unique_ptr<ReplayVerifier> MakeReplayVerifier(const replay::Limits& limits) {
  return std::make_unique<LibraryReplayVerifier>(limits);
}

std::string NameMismatch(const replay::Verdict& v, std::string_view submittedName) {
  if (v.formatVersion < 3) return {};
  if (!v.nameEntered) return "The replay does not hold the name typed after its game.";
  if (replay::SameName(v.name, submittedName)) return {};
  return "The replay's game was named \u201c" + v.name +
         "\u201d after it was played, but its result was sent as \u201c" + std::string(submittedName) + "\u201d.";
}

}  // namespace sf::scores
