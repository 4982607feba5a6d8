#include "replay/ReplayFormat.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "game/GameRecorder.h"

namespace replay {
namespace {

// Little-endian field access; the header's layout is fixed whatever the machine.
template <typename T>
void Put(uint8_t* at, T value) {
  const auto bits = static_cast<std::make_unsigned_t<T>>(value);
  for (size_t i = 0; i < sizeof(T); ++i) at[i] = static_cast<uint8_t>(bits >> (8 * i));
}
template <typename T>
T Get(const uint8_t* at) {
  std::make_unsigned_t<T> bits = 0;
  for (size_t i = 0; i < sizeof(T); ++i) bits = static_cast<decltype(bits)>(bits | (decltype(bits)(at[i]) << (8 * i)));
  return static_cast<T>(bits);
}

// Field offsets.
constexpr size_t kOffVersion = 8, kOffHeaderSize = 10, kOffSimulation = 12, kOffBuild = 16, kOffSteps = 40,
                 kOffScore = 44, kOffLevel = 52, kOffSeed = 56, kOffTick = 60, kOffDigest = 64, kOffBodyBytes = 72,
                 kOffBodyCrc = 76, kOffPackedBytes = 80, kOffHeaderCrc = 84;
static_assert(kOffHeaderCrc + 4 == kHeaderBytes);

uint32_t Crc(std::span<const uint8_t> bytes) {
  uLong crc = crc32(0L, Z_NULL, 0);
  // zlib takes lengths as uInt: feed large spans in pieces.
  size_t done = 0;
  while (done < bytes.size()) {
    const size_t n = std::min<size_t>(bytes.size() - done, 1u << 30);
    crc = crc32(crc, bytes.data() + done, static_cast<uInt>(n));
    done += n;
  }
  return static_cast<uint32_t>(crc);
}

std::string Text(const char* what, unsigned long long a, unsigned long long b) {
  char line[200];
  std::snprintf(line, sizeof line, what, a, b);
  return line;
}

}  // namespace

std::array<char, kBuildBytes> ThisBuild() {
#if defined(_WIN32)
  const char* os = "windows";
#elif defined(__EMSCRIPTEN__)
  const char* os = "web";
#elif defined(__linux__)
  const char* os = "linux";
#else
  const char* os = "other";
#endif
#if defined(__x86_64__) || defined(_M_X64)
  const char* cpu = "x86_64";
#elif defined(__aarch64__)
  const char* cpu = "arm64";
#elif defined(__wasm__)
  const char* cpu = "wasm";
#else
  const char* cpu = "cpu";
#endif
#if defined(__clang__)
  const char* compiler = "clang";
  const int major = __clang_major__, minor = __clang_minor__;
#elif defined(__GNUC__)
  const char* compiler = "gcc";
  const int major = __GNUC__, minor = __GNUC_MINOR__;
#else
  const char* compiler = "cc";
  const int major = 0, minor = 0;
#endif
  char text[64];
  std::snprintf(text, sizeof text, "%s-%s %s %d.%d", os, cpu, compiler, major, minor);
  std::array<char, kBuildBytes> build{};
  std::memcpy(build.data(), text, std::min(std::strlen(text), kBuildBytes));
  return build;
}

std::vector<uint8_t> EncodeReplay(ReplayHeader header, std::span<const uint8_t> body) {
  header.BodyBytes = static_cast<uint32_t>(body.size());
  header.BodyCrc = Crc(body);
  uLongf packed = compressBound(static_cast<uLong>(body.size()));
  std::vector<uint8_t> file(kHeaderBytes + packed);
  if (compress2(file.data() + kHeaderBytes, &packed, body.data(), static_cast<uLong>(body.size()), 9) != Z_OK) {
    return {};  // only when out of memory
  }
  file.resize(kHeaderBytes + packed);
  uint8_t* h = file.data();
  std::memcpy(h, kMagic, sizeof kMagic);
  Put<uint16_t>(h + kOffVersion, header.FormatVersion);
  Put<uint16_t>(h + kOffHeaderSize, static_cast<uint16_t>(kHeaderBytes));
  Put<uint32_t>(h + kOffSimulation, header.SimulationVersion);
  std::memcpy(h + kOffBuild, header.Build.data(), kBuildBytes);
  Put<uint32_t>(h + kOffSteps, header.Steps);
  Put<int64_t>(h + kOffScore, header.FinalScore);
  Put<int32_t>(h + kOffLevel, header.FinalLevel);
  Put<uint32_t>(h + kOffSeed, header.Seed);
  Put<uint32_t>(h + kOffTick, header.StartTick);
  Put<uint64_t>(h + kOffDigest, header.FinalDigest);
  Put<uint32_t>(h + kOffBodyBytes, header.BodyBytes);
  Put<uint32_t>(h + kOffBodyCrc, header.BodyCrc);
  Put<uint32_t>(h + kOffPackedBytes, static_cast<uint32_t>(packed));
  Put<uint32_t>(h + kOffHeaderCrc, Crc(std::span<const uint8_t>(h, kOffHeaderCrc)));
  return file;
}

bool DecodeReplay(std::span<const uint8_t> file, size_t maxFileBytes, DecodedReplay& out, std::string& error) {
  if (file.size() > maxFileBytes) {
    error = Text("The replay has %llu bytes, more than the %llu allowed.", file.size(), maxFileBytes);
    return false;
  }
  if (file.size() < sizeof kMagic || std::memcmp(file.data(), kMagic, sizeof kMagic) != 0) {
    error = "This is not a replay file (its first bytes are not the replay signature).";
    return false;
  }
  if (file.size() < kHeaderBytes) {
    error = Text("The replay is cut short: %llu bytes, less than its %llu-byte header.", file.size(), kHeaderBytes);
    return false;
  }
  const uint8_t* h = file.data();
  if (Get<uint32_t>(h + kOffHeaderCrc) != Crc(file.first(kOffHeaderCrc))) {
    error = "The replay's header is damaged (its checksum does not match).";
    return false;
  }
  ReplayHeader& header = out.Header;
  header.FormatVersion = Get<uint16_t>(h + kOffVersion);
  if (header.FormatVersion < kOldestFormatVersion || header.FormatVersion > kFormatVersion ||
      Get<uint16_t>(h + kOffHeaderSize) != kHeaderBytes) {
    error = Text("The replay has format version %llu; this program reads versions 1 to %llu.", header.FormatVersion,
                 kFormatVersion);
    return false;
  }
  header.SimulationVersion = Get<uint32_t>(h + kOffSimulation);
  std::memcpy(header.Build.data(), h + kOffBuild, kBuildBytes);
  header.Steps = Get<uint32_t>(h + kOffSteps);
  header.FinalScore = Get<int64_t>(h + kOffScore);
  header.FinalLevel = Get<int32_t>(h + kOffLevel);
  header.Seed = Get<uint32_t>(h + kOffSeed);
  header.StartTick = Get<uint32_t>(h + kOffTick);
  header.FinalDigest = Get<uint64_t>(h + kOffDigest);
  header.BodyBytes = Get<uint32_t>(h + kOffBodyBytes);
  header.BodyCrc = Get<uint32_t>(h + kOffBodyCrc);
  const uint32_t packed = Get<uint32_t>(h + kOffPackedBytes);
  if (header.SimulationVersion != sf::kSimulationVersion) {
    error = Text("The replay was recorded by a game with other rules (simulation %llu; this is simulation %llu).",
                 header.SimulationVersion, sf::kSimulationVersion);
    return false;
  }
  if (file.size() - kHeaderBytes < packed) {
    error = Text("The replay is cut short: its body should have %llu bytes but only %llu are there.", packed,
                 file.size() - kHeaderBytes);
    return false;
  }
  if (file.size() - kHeaderBytes > packed) {
    error = Text("The replay has %llu bytes after its end (body of %llu bytes).", file.size() - kHeaderBytes - packed,
                 packed);
    return false;
  }
  if (header.BodyBytes > kMaxBodyBytes) {
    error = Text("The replay's body claims %llu bytes, more than the %llu any game records.", header.BodyBytes,
                 kMaxBodyBytes);
    return false;
  }
  out.Body.assign(header.BodyBytes, 0);
  uLongf unpacked = header.BodyBytes;
  uLong consumed = packed;
  // A buffer of exactly the claimed size: a body that would unpack larger fails here, never grows.
  const int rc =
      uncompress2(out.Body.empty() ? nullptr : out.Body.data(), &unpacked, file.data() + kHeaderBytes, &consumed);
  if (rc != Z_OK) {
    error = rc == Z_BUF_ERROR ? std::string("The replay's body is damaged: it unpacks to more than the header says.")
                              : std::string("The replay's body is damaged or cut short (it does not unpack).");
    return false;
  }
  if (unpacked != header.BodyBytes || consumed != packed) {
    error = "The replay's body is damaged: its size does not match the header.";
    return false;
  }
  if (Crc(out.Body) != header.BodyCrc) {
    error = "The replay's body is damaged (its checksum does not match).";
    return false;
  }
  return true;
}

}  // namespace replay
