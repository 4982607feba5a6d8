#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace replay {

// The replay file (docs/replay-format.md): a fixed little-endian header with its own CRC-32, then
// the zlib stream of the body, the game's inputs step by step (ReplayBody.h).
// Version 2 added the body's checkpoints, version 3 the name entry after the game; older files
// still play and verify.
inline constexpr uint16_t kFormatVersion = 3;
inline constexpr uint16_t kOldestFormatVersion = 1;
inline constexpr size_t kHeaderBytes = 88;
inline constexpr char kMagic[8] = {'S', 'F', 'R', 'E', 'P', 'L', 'A', 'Y'};
// Room for one game's inputs in the recorder: a one-hour game needs about 0.3 to 1.8 MB (one to
// eight bytes a step). Every game has been recorded into this much, so no body is larger.
inline constexpr size_t kRecorderCapacity = 2u << 20;
inline constexpr uint32_t kMaxBodyBytes = static_cast<uint32_t>(kRecorderCapacity);
// The largest file any game can give: a full recorder that does not compress at all (zlib's
// compressBound of it) behind the header. A larger upload is not a game's replay.
inline constexpr size_t kMaxFileBytes = kHeaderBytes + kRecorderCapacity + (kRecorderCapacity >> 12) +
                                        (kRecorderCapacity >> 14) + (kRecorderCapacity >> 25) + 13;
inline constexpr size_t kBuildBytes = 24;

struct ReplayHeader {
  uint16_t FormatVersion = kFormatVersion;
  uint32_t SimulationVersion = 0;
  std::array<char, kBuildBytes> Build{};  // the recording build, for people: "linux-x86_64 gcc 12.2.0"
  uint32_t Steps = 0;
  int64_t FinalScore = 0;
  int32_t FinalLevel = 0;
  uint32_t Seed = 0;       // the generator's state when the game was created
  uint32_t StartTick = 0;  // the tick when the game was created
  uint64_t FinalDigest = 0;
  uint32_t BodyBytes = 0;  // the body before compression
  uint32_t BodyCrc = 0;    // CRC-32 of the body before compression
};

struct DecodedReplay {
  ReplayHeader Header;
  std::vector<uint8_t> Body;
};

// This build's identity text (operating system, processor, compiler), cut to kBuildBytes.
std::array<char, kBuildBytes> ThisBuild();

// The whole file: header (BodyBytes and BodyCrc are filled in from body) and compressed body.
std::vector<uint8_t> EncodeReplay(ReplayHeader header, std::span<const uint8_t> body);

// Checks and unpacks a file. False, with a clear sentence in error, when it is not a replay, is
// damaged or truncated, has extra bytes, comes from another format or simulation version, or
// claims more than the limits allow. Never reads outside file, never allocates more than
// kMaxBodyBytes.
bool DecodeReplay(std::span<const uint8_t> file, size_t maxFileBytes, DecodedReplay& out, std::string& error);

}  // namespace replay
