#pragma once
#include <cmath>
#include <cstdint>

namespace sf {

// The rotated drawing's rounding of a pixel position: to the nearest integer, halves to the even
// neighbour, whatever the current rounding mode.
inline int64_t RoundPixel(long double v) {
  const long double down = std::floor(v);
  const long double diff = v - down;
  if (diff < 0.5L) return static_cast<int64_t>(down);
  if (diff > 0.5L) return static_cast<int64_t>(down) + 1;
  const auto d = static_cast<int64_t>(down);
  return (d % 2 == 0) ? d : d + 1;
}

// The same for positions well inside the 64-bit range, valid only in the default rounding mode
// (nearest, ties to even), where it is the processor's own conversion. On the x87 the form above
// switches the control word for the floor and for each conversion, which costs more than the
// rest of a rotated pixel; this conversion needs no switch.
inline int64_t RoundPixelNearestMode(long double v) {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
  // llrint's own instruction, inline: the library call would pass the 80-bit value through memory.
  int64_t r;
  asm("fistpll %0" : "=m"(r) : "t"(v) : "st");
  return r;
#else
  return std::llrint(v);
#endif
}

}  // namespace sf
