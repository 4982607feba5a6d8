#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace assetgen {

// One finished picture of the pack: 0x00RRGGBB pixels, row after row; keyed pictures use
// 0xFF00FF for transparent pixels.
struct Picture {
  int Width = 0;
  int Height = 0;
  std::vector<uint32_t> Pixels;

  Picture() = default;
  Picture(int w, int h, uint32_t fill = 0)
      : Width(w), Height(h), Pixels(static_cast<size_t>(w) * static_cast<size_t>(h), fill) {}
  uint32_t& At(int x, int y) {
    return Pixels[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)];
  }
  uint32_t At(int x, int y) const {
    return Pixels[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)];
  }
};

inline constexpr uint32_t kKey = 0xFF00FF;

}  // namespace assetgen
