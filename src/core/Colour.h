#pragma once
#include <cstdint>

namespace sf {

// Colours of the program are GDI colour values 0x00BBGGRR; surface pixels are 0x00RRGGBB.
inline constexpr uint32_t GdiToPixel(uint32_t gdi) {
  return ((gdi & 0xFFu) << 16) | (gdi & 0xFF00u) | ((gdi >> 16) & 0xFFu);
}
inline constexpr uint32_t PixelToGdi(uint32_t px) { return GdiToPixel(px); }

// Theme colours (GDI values).
inline constexpr uint32_t kHighlightColour = 0x0099FF;  // orange
inline constexpr uint32_t kNormalColour = 0x993300;     // dark blue
inline constexpr uint32_t kAlertColour = 0x0000FF;      // red

// The colour key of every image, as a raw 32-bit pixel (magenta).
inline constexpr uint32_t kColourKey = 0xFF00FF;

}  // namespace sf
