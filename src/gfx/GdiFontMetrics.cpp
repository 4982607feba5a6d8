#include "gfx/GdiFontMetrics.h"

#include <algorithm>
#include <cstdlib>

namespace sf {
namespace {

// Largest size the renderer accepts: far beyond any text of an 800 x 600 screen, small enough
// that a wild height cannot ask for huge glyph bitmaps.
constexpr int64_t kMaxPpem = 1024;

// Intensity of each of the 17 coverage levels drawn at full strength over black.
constexpr int kLevelIntensity[17] = {0, 77, 104, 124, 140, 154, 167, 178, 189, 199, 208, 217, 225, 233, 240, 248, 255};

}  // namespace

int64_t FtMulDiv(int64_t a, int64_t b, int64_t c) {
  int sign = 1;
  if (a < 0) {
    a = -a;
    sign = -sign;
  }
  if (b < 0) {
    b = -b;
    sign = -sign;
  }
  if (c < 0) {
    c = -c;
    sign = -sign;
  }
  const int64_t d = c > 0 ? (a * b + c / 2) / c : INT32_MAX;
  return sign * d;
}

int64_t FtMulFix(int64_t a, int64_t b) {
  int sign = 1;
  if (a < 0) {
    a = -a;
    sign = -sign;
  }
  if (b < 0) {
    b = -b;
    sign = -sign;
  }
  return sign * ((a * b + 0x8000) >> 16);
}

GdiFontSize ComputeGdiFontSize(const FaceTables& face, int32_t height, int32_t width) {
  const int64_t winDescent = std::abs(int64_t{face.WinDescent});
  int64_t ascentUnits = face.WinAscent;
  int64_t descentUnits = winDescent;
  if (ascentUnits + descentUnits == 0) {
    ascentUnits = face.HheaAscender;
    descentUnits = -int64_t{face.HheaDescender};
  }
  int64_t units = ascentUnits + descentUnits;
  if (units <= 0) units = face.UnitsPerEm;
  const int64_t upem = face.UnitsPerEm > 0 ? face.UnitsPerEm : 2048;

  int64_t request = height == 0 ? 16 : height;
  int64_t ppem = 0;
  if (request > 0) {
    // The largest size whose cell does not exceed the requested height.
    ppem = FtMulDiv(upem, request, units);
    if (ppem > 1 && FtMulDiv(units, ppem, upem) > request) --ppem;
  } else {
    ppem = -request;
  }
  ppem = std::clamp<int64_t>(ppem, 1, kMaxPpem);

  GdiFontSize size;
  size.Ppem = static_cast<int32_t>(ppem);
  const int64_t em = FtMulDiv(ppem, 65536, upem);
  size.Ascent = static_cast<int32_t>(FtMulFix(ascentUnits, em));
  size.Descent = static_cast<int32_t>(FtMulFix(descentUnits, em));
  size.AveCharWidth = static_cast<int32_t>(std::max<int64_t>(1, FtMulFix(face.XAvgCharWidth, em)));

  // The width scales the face against its own whole-pixel average width; GDI ignores a width
  // without a height and one more than 100 times the cell height.
  const int64_t w = std::abs(int64_t{width});
  if (w != 0 && height != 0 && w / std::max<int64_t>(1, size.CellHeight()) <= 100) {
    size.ScaleX = static_cast<int32_t>(std::min<int64_t>((w << 16) / size.AveCharWidth, int64_t{100} << 16));
  }
  return size;
}

uint8_t BlendTextChannel(int level, uint8_t t, uint8_t d) {
  if (level <= 1) return d;
  if (level >= 16) return t;
  if (d == t) return d;
  if (d > t) {
    const int hi = kLevelIntensity[16 - level] + (255 - kLevelIntensity[16 - level]) * t / 255;
    return static_cast<uint8_t>(t + (d - t) * (hi - t) / (255 - t));
  }
  const int lo = kLevelIntensity[level] * t / 255;
  return static_cast<uint8_t>(t - (t - d) * (t - lo) / t);
}

}  // namespace sf
