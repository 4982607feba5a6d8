#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "gfx/Surface.h"

namespace sf {

// Text alignment flags (the SetTextAlign word): y is always the top of the character cell.
inline constexpr uint32_t kAlignLeft = 0;
inline constexpr uint32_t kAlignRight = 2;
inline constexpr uint32_t kAlignCenter = 6;

// Draws text with the program's one face (a Tahoma-compatible bold), anti-aliased, at a given
// cell height and average character width, as GDI would. Glyphs are rasterised once and cached.
// Colours are GDI values (0x00BBGGRR).
class TextRenderer {
 public:
  // Opens the font file; throws std::runtime_error with a clear message when it cannot be read.
  explicit TextRenderer(const std::string& fontPath);
  ~TextRenderer();
  TextRenderer(const TextRenderer&) = delete;
  TextRenderer& operator=(const TextRenderer&) = delete;

  // Finds the face: the Tahoma-compatible bold of fonts-wine, then DejaVu Sans Bold, then a copy
  // beside the program ("tahomabd.ttf" or "font.ttf" in the working directory). Empty when none.
  static std::string FindDefaultFont();

  // Extra-bold (800) text with a one-pixel shadow right and down: the shadow is the normal colour
  // when colour is the highlight colour, else the highlight colour.
  void DrawShadowText(Surface& target, int32_t x, int32_t y, int32_t height, int32_t width, std::string_view text,
                      uint32_t colour);
  void DrawAlignedText(Surface& target, int32_t x, int32_t y, int32_t height, int32_t width, std::string_view text,
                       uint32_t colour, uint32_t align, bool shadow);
  void DrawPlainText(Surface& target, int32_t x, int32_t y, int32_t height, int32_t width, std::string_view text,
                     uint32_t colour, bool shadow);

  // One string with a given weight (700 bold, 800 extra-bold), no shadow; used by the name field.
  void DrawString(Surface& target, int32_t x, int32_t y, int32_t height, int32_t width, int32_t weight,
                  std::string_view text, uint32_t colour, uint32_t align = kAlignLeft);
  // Advance width in pixels of the string as DrawString would draw it.
  int32_t MeasureString(int32_t height, int32_t width, int32_t weight, std::string_view text);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace sf
