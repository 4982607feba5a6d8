#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/Colour.h"

namespace sf {

// One off-screen picture: 32-bit pixels 0x00RRGGBB, row after row, with the source colour key
// magenta (0xFF00FF) that keyed blits skip.
class Surface {
 public:
  Surface() = default;
  Surface(int32_t width, int32_t height, uint32_t fill = 0)
      : Width(width), Height(height), Pixels(static_cast<size_t>(width) * static_cast<size_t>(height), fill) {}

  uint32_t* Row(int32_t y) { return Pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(Width); }
  const uint32_t* Row(int32_t y) const { return Pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(Width); }
  uint32_t& At(int32_t x, int32_t y) { return Row(y)[x]; }
  uint32_t At(int32_t x, int32_t y) const { return Row(y)[x]; }
  bool Contains(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
  bool Empty() const { return Width <= 0 || Height <= 0; }

  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint32_t> Pixels;
  uint32_t ColourKey = kColourKey;
  // Set by the display when its device was reset: every blit touching the surface fails until
  // the surfaces are restored, which is how the frame loop notices a lost display.
  bool Lost = false;
};

}  // namespace sf
