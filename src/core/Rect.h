#pragma once
#include <cstdint>

namespace sf {

// A rectangle as left, top, right, bottom; right and bottom are exclusive.
struct Rect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;

  constexpr int32_t Width() const { return Right - Left; }
  constexpr int32_t Height() const { return Bottom - Top; }
  bool operator==(const Rect&) const = default;
};

// Two boxes collide when their intersection is non-empty; boxes that only touch along an edge do not.
inline bool RectsIntersect(const Rect& a, const Rect& b) {
  const int32_t l = a.Left > b.Left ? a.Left : b.Left;
  const int32_t r = a.Right < b.Right ? a.Right : b.Right;
  const int32_t t = a.Top > b.Top ? a.Top : b.Top;
  const int32_t btm = a.Bottom < b.Bottom ? a.Bottom : b.Bottom;
  return l < r && t < btm;
}

}  // namespace sf
