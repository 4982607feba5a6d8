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

// The cell of one font size: y of a TA_TOP string is the top of the cell, the baseline lies
// Ascent below it, and glyph ink is cut to the Ascent + Descent rows of the cell.
struct CellMetrics {
  int32_t Ascent = 0;
  int32_t Descent = 0;
  int32_t Ppem = 0;
  bool AntiAliased = true;
};

// Draws text with the program's one face (a Tahoma-compatible bold), anti-aliased, at a given
// cell height and average character width, as GDI would. Glyphs are rasterised once and cached.
// Colours are GDI values (0x00BBGGRR).
class TextRenderer {
 public:
  // Opens the font file; throws std::runtime_error with a clear message when it cannot be read.
  // Like GDI, sizes for which the face's gasp table asks for no grey-scale are drawn black and
  // white; honourGasp false draws every size anti-aliased.
  explicit TextRenderer(const std::string& fontPath, bool honourGasp = true);
  // A renderer without a face: draws nothing and measures every string as empty. A game played
  // without a screen (a replay checked by the score service) needs no font file.
  TextRenderer();
  ~TextRenderer();
  TextRenderer(const TextRenderer&) = delete;
  TextRenderer& operator=(const TextRenderer&) = delete;

  // Finds the face: the copy "font.ttf" in dataFolder (the working directory when empty: the game
  // folder), then the Tahoma-compatible bold of fonts-wine, then DejaVu Sans Bold, then a
  // "tahomabd.ttf" in dataFolder. Empty when none is readable.
  static std::string FindDefaultFont(const std::string& dataFolder = "");

  // The shadow colour for a text colour: normal for the highlight colour, else highlight.
  static uint32_t ShadowColour(uint32_t colour);

  // Text in the program's bold face with a one-pixel shadow right and down: the shadow is the
  // normal colour when colour is the highlight colour, else the highlight colour.
  void DrawShadowText(Surface& target, int32_t x, int32_t y, int32_t height, int32_t width, std::string_view text,
                      uint32_t colour);
  void DrawAlignedText(Surface& target, int32_t x, int32_t y, int32_t height, int32_t width, std::string_view text,
                       uint32_t colour, uint32_t align, bool shadow);
  void DrawPlainText(Surface& target, int32_t x, int32_t y, int32_t height, int32_t width, std::string_view text,
                     uint32_t colour, bool shadow);

  // One string, no shadow; used by the name field. The weight (700 or 800) is accepted for the
  // callers' sake: both draw the bold face as it is.
  void DrawString(Surface& target, int32_t x, int32_t y, int32_t height, int32_t width, int32_t weight,
                  std::string_view text, uint32_t colour, uint32_t align = kAlignLeft);
  // Advance width in pixels of the string as DrawString would draw it.
  int32_t MeasureString(int32_t height, int32_t width, int32_t weight, std::string_view text);

  // Cell metrics of a font height and width as the drawing calls use them.
  CellMetrics Metrics(int32_t height, int32_t width);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace sf
