#include "gfx/Blit.h"

#include <algorithm>
#include <cstring>

#include "gfx/KeyedRow.h"

namespace sf {

int32_t BltFast(Surface& dst, int32_t x, int32_t y, const Surface& src, const Rect& srcRect, bool keyed) {
  if (dst.Lost || src.Lost) return kBlitSurfaceLost;
  // Clipping in 64 bits so that no rectangle or position can overflow.
  int64_t left = srcRect.Left, top = srcRect.Top, right = srcRect.Right, bottom = srcRect.Bottom;
  int64_t tx = x, ty = y;
  // Keep the source rectangle inside the source.
  if (left < 0) {
    tx -= left;
    left = 0;
  }
  if (top < 0) {
    ty -= top;
    top = 0;
  }
  right = std::min<int64_t>(right, src.Width);
  bottom = std::min<int64_t>(bottom, src.Height);
  // Keep the target inside the destination.
  if (tx < 0) {
    left -= tx;
    tx = 0;
  }
  if (ty < 0) {
    top -= ty;
    ty = 0;
  }
  right = std::min<int64_t>(right, left + dst.Width - tx);
  bottom = std::min<int64_t>(bottom, top + dst.Height - ty);
  const int64_t w = right - left;
  const int64_t h = bottom - top;
  if (w <= 0 || h <= 0) return kBlitOk;
  const uint32_t key = src.ColourKey;
  const KeyedRowFn keyedRow = BestKeyedRow();
  for (int64_t row = 0; row < h; ++row) {
    const uint32_t* s = src.Row(static_cast<int32_t>(top + row)) + left;
    uint32_t* d = dst.Row(static_cast<int32_t>(ty + row)) + tx;
    if (!keyed) {
      std::memcpy(d, s, static_cast<size_t>(w) * sizeof(uint32_t));
    } else {
      keyedRow(d, s, static_cast<int32_t>(w), key);
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
