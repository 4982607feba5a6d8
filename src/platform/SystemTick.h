#pragma once
#include <cstdint>

namespace sf {

// The Windows system tick: GetTickCount moves in steps of 1/64 s (15.625 ms).
inline constexpr uint64_t kSystemTicksPerSecond = 64;

// GCC's and Clang's 128-bit integer keeps the products below from overflowing; it is an extension.
__extension__ typedef unsigned __int128 TickProduct;

// GetTickCount's value `elapsed` counter units after start, with `frequency` units per second:
// the start of the last whole system tick in milliseconds, wrapping at 32 bits.
inline uint32_t TickMillisecondsAt(uint64_t elapsed, uint64_t frequency) {
  const TickProduct ticks = static_cast<TickProduct>(elapsed) * kSystemTicksPerSecond / frequency;
  return static_cast<uint32_t>(static_cast<uint64_t>(ticks * 1000 / kSystemTicksPerSecond));
}

// Milliseconds (rounded up, at least 1) until the value above next changes.
inline uint32_t MillisecondsToNextTick(uint64_t elapsed, uint64_t frequency) {
  const TickProduct next = static_cast<TickProduct>(elapsed) * kSystemTicksPerSecond / frequency + 1;
  const uint64_t nextAt = static_cast<uint64_t>((next * frequency + kSystemTicksPerSecond - 1) / kSystemTicksPerSecond);
  const uint64_t remaining = nextAt > elapsed ? nextAt - elapsed : 0;
  const uint64_t ms = (remaining * 1000 + frequency - 1) / frequency;
  return ms < 1 ? 1 : static_cast<uint32_t>(ms);
}

}  // namespace sf
