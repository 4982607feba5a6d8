#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace sf {

// FNV-1a, 64 bits: a quick hash of bytes fed in order, the same on every machine and build, for
// fingerprints and entity tags (never for secrets).
class Fnv1a {
 public:
  void Byte(uint8_t b) { h_ = (h_ ^ b) * 1099511628211ull; }
  void Bytes(std::string_view bytes) {
    for (const char c : bytes) Byte(static_cast<uint8_t>(c));
  }
  uint64_t Value() const { return h_; }
  // The value as 16 lowercase hex digits.
  std::string Hex() const {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out(16, '0');
    for (size_t i = 0; i < 16; ++i) out[i] = kHex[(h_ >> (60 - 4 * i)) & 15];
    return out;
  }

 private:
  uint64_t h_ = 14695981039346656037ull;
};

}  // namespace sf
