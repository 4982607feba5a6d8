#include "gfx/Blit.h"

#include <algorithm>
#include <cstring>

namespace sf {

int32_t BltFast(Surface& dst, int32_t x, int32_t y, const Surface& src, const Rect& srcRect, bool keyed) {
  if (dst.Lost || src.Lost) return kBlitSurfaceLost;
  Rect r = srcRect;
  // Keep the source rectangle inside the source.
  if (r.Left < 0) { x -= r.Left; r.Left = 0; }
  if (r.Top < 0) { y -= r.Top; r.Top = 0; }
  r.Right = std::min(r.Right, src.Width);
  r.Bottom = std::min(r.Bottom, src.Height);
  // Keep the target inside the destination.
  if (x < 0) { r.Left -= x; x = 0; }
  if (y < 0) { r.Top -= y; y = 0; }
  r.Right = std::min<int64_t>(r.Right, static_cast<int64_t>(r.Left) + dst.Width - x);
  r.Bottom = std::min<int64_t>(r.Bottom, static_cast<int64_t>(r.Top) + dst.Height - y);
  const int32_t w = r.Right - r.Left;
  const int32_t h = r.Bottom - r.Top;
  if (w <= 0 || h <= 0) return kBlitOk;
  const uint32_t key = src.ColourKey;
  for (int32_t row = 0; row < h; ++row) {
    const uint32_t* s = src.Row(r.Top + row) + r.Left;
    uint32_t* d = dst.Row(y + row) + x;
    if (!keyed) {
      std::memcpy(d, s, static_cast<size_t>(w) * sizeof(uint32_t));
    } else {
      for (int32_t i = 0; i < w; ++i) {
        const uint32_t p = s[i];
        d[i] = p == key ? d[i] : p;
      }
    }
  }
  return kBlitOk;
}

int32_t BltFast(Surface& dst, int32_t x, int32_t y, const Surface& src, bool keyed) {
  return BltFast(dst, x, y, src, Rect{0, 0, src.Width, src.Height}, keyed);
}

int32_t FillSurface(Surface& dst, uint32_t pixel) {
  if (dst.Lost) return kBlitSurfaceLost;
  std::fill(dst.Pixels.begin(), dst.Pixels.end(), pixel);
  return kBlitOk;
}

}  // namespace sf
