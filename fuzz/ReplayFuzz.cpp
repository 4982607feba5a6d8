// libFuzzer target: any bytes as a replay, in two ways chosen by the first byte.
//  - even: the bytes are a replay file as the score service receives it;
//  - odd: the rest is the inputs of a game, packed into a well-formed file first, so the input
//    records and the game played from them are explored past the checksums.
// Checks:
//  - the check never crashes, never reads outside the file and stays within its limits;
//  - a refusal always says why, and a verdict's steps never exceed the limit;
//  - a file that decodes packs again into one that decodes to the same header and inputs.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "game/GameRecorder.h"
#include "replay/ReplayFormat.h"
#include "replay/ReplayVerify.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  replay::Limits limits;
  limits.maxSteps = 64 * 60 * 2;  // short games keep every run fast
  limits.maxCpuSeconds = 2.0;

  std::vector<uint8_t> file;
  if (data[0] % 2 == 0) {
    file.assign(data + 1, data + size);
  } else {
    replay::ReplayHeader header;
    header.SimulationVersion = sf::kSimulationVersion;
    header.Steps = size > 4 ? static_cast<uint32_t>(data[1] | data[2] << 8) : 0;
    header.Seed = size > 4 ? static_cast<uint32_t>(data[3] * 2654435761u) : 0;
    file = replay::EncodeReplay(header, std::span<const uint8_t>(data, size).subspan(size > 4 ? 4 : 1));
  }

  const replay::Verdict v = replay::PlayBack(file, limits);
  SF_FUZZ_CHECK(v.ok || !v.error.empty());
  SF_FUZZ_CHECK(v.steps <= limits.maxSteps + 1);

  replay::DecodedReplay decoded;
  std::string error;
  if (replay::DecodeReplay(file, limits.maxFileBytes, decoded, error)) {
    const std::vector<uint8_t> again = replay::EncodeReplay(decoded.Header, decoded.Body);
    replay::DecodedReplay second;
    SF_FUZZ_CHECK(replay::DecodeReplay(again, limits.maxFileBytes * 2, second, error));
    SF_FUZZ_CHECK(second.Body == decoded.Body);
    SF_FUZZ_CHECK(second.Header.Steps == decoded.Header.Steps && second.Header.Seed == decoded.Header.Seed &&
                  second.Header.FinalDigest == decoded.Header.FinalDigest &&
                  second.Header.FinalScore == decoded.Header.FinalScore);
  } else {
    SF_FUZZ_CHECK(!v.ok && !error.empty());
  }
  return 0;
}
