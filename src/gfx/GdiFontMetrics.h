#pragma once
#include <cstdint>

namespace sf {

// The few numbers of a TrueType face that decide how GDI sizes it.
struct FaceTables {
  int32_t UnitsPerEm = 2048;
  int32_t WinAscent = 0;   // OS/2 usWinAscent
  int32_t WinDescent = 0;  // OS/2 usWinDescent, read as signed (some fonts store it negative)
  int32_t HheaAscender = 0;
  int32_t HheaDescender = 0;
  int32_t XAvgCharWidth = 0;  // OS/2 xAvgCharWidth
};

// How GDI's font mapper sizes a face for CreateFont(height, width): the pixels per em, the cell's
// ascent and descent, the face's own average character width at that size, and the horizontal
// scale (16.16 fixed point, 0x10000 = none) that condenses or widens it to the requested width.
struct GdiFontSize {
  int32_t Ppem = 0;
  int32_t Ascent = 0;
  int32_t Descent = 0;
  int32_t AveCharWidth = 0;
  int32_t ScaleX = 0x10000;

  int32_t CellHeight() const { return Ascent + Descent; }
};

// FreeType's rounding helpers, which GDI's TrueType path (as modelled by Wine) uses.
int64_t FtMulDiv(int64_t a, int64_t b, int64_t c);
int64_t FtMulFix(int64_t a, int64_t b);

// A positive height is the cell height (ascent + descent), a negative one the em height, 0 means
// 16. The width is the average character width; 0 keeps the face's own proportions.
GdiFontSize ComputeGdiFontSize(const FaceTables& face, int32_t height, int32_t width);

// Anti-aliased glyphs have 17 coverage levels (0..16), from FreeType's 8-bit coverage.
inline uint8_t CoverageLevel(uint8_t coverage) { return static_cast<uint8_t>(coverage * 17 / 256); }

// One colour channel of a glyph pixel of the given level drawn in text channel t over the
// destination channel d, with GDI's gamma-shaped intensity table.
uint8_t BlendTextChannel(int level, uint8_t t, uint8_t d);

}  // namespace sf
