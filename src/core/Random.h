#pragma once
#include <cstdint>

namespace sf {

// The program's one pseudo-random generator: a 32-bit linear congruential generator
// (multiplier 134775813, increment 1) whose upper bits scale to the range, so a seeded
// game replays exactly.
class Random {
 public:
  explicit Random(uint32_t seed = 0) : state_(seed) {}

  void Seed(uint32_t seed) { state_ = seed; }
  uint32_t SeedValue() const { return state_; }

  // Uniform integer in 0 .. n-1; 0 when n <= 0.
  int32_t RandInt(int32_t n) {
    state_ = state_ * 134775813u + 1u;
    if (n <= 0) return 0;
    return static_cast<int32_t>((static_cast<uint64_t>(state_) * static_cast<uint32_t>(n)) >> 32);
  }

 private:
  uint32_t state_;
};

}  // namespace sf
