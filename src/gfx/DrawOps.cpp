#include "gfx/DrawOps.h"

#include <algorithm>
#include <cfenv>
#include <cmath>

#include "gfx/Blit.h"
#include "gfx/PixelRound.h"

namespace sf {
namespace {

// The clipped blit's screen: 800 columns and 598 rows (the last two rows stay untouched).
constexpr int64_t kClipRight = 800;
constexpr int64_t kClipBottom = 598;

// The playfield between the two side panels, inclusive on every edge.
constexpr int64_t kFieldLeft = 118;
constexpr int64_t kFieldRight = 682;
constexpr int64_t kFieldTop = 0;
constexpr int64_t kFieldBottom = 598;

constexpr long double kPi = 3.141592653589793238462643383279502884L;
constexpr long double kTwoPi = 2.0L * kPi;

// One rotated copy: the source's rows x cols corner turned by the angle of sine s and cosine c
// about its pivot (cx, cy), which lands at (baseX + cx, baseY + cy); each pixel is written again
// at the offset (ox, oy).
struct RotatedCopy {
  const Surface& src;
  Surface& dst;
  int32_t cx, cy;
  long double s, c;
  int32_t rows, cols;
  int64_t baseX, baseY;
  int64_t ox, oy;
};

// Round is one of the two pixel roundings (equal results, different speed).
template <int64_t (*Round)(long double)>
void RotatePixels(const RotatedCopy& copy) {
  const auto& [src, dst, cx, cy, s, c, rows, cols, baseX, baseY, ox, oy] = copy;
  for (int32_t r = 0; r < rows; ++r) {
    const uint32_t* line = src.Row(r);
    const long double dy = static_cast<long double>(int64_t{r} - cy);
    const long double dys = dy * s;
    const long double dyc = dy * c;
    for (int32_t k = 0; k < cols; ++k) {
      const uint32_t p = line[k];
      if (p == kColourKey) continue;
      const long double dx = static_cast<long double>(int64_t{k} - cx);
      const int64_t rx = Round(dx * c - dys);
      const int64_t ry = Round(dx * s + dyc);
      const int64_t tx = baseX - rx;
      const int64_t ty = baseY - ry;
      if (tx > kFieldRight || ty < kFieldTop || ty > kFieldBottom || tx < kFieldLeft) continue;
      // The window lies inside an 800 x 600 screen; a smaller target is guarded here.
      if (tx < dst.Width && ty < dst.Height) dst.At(static_cast<int32_t>(tx), static_cast<int32_t>(ty)) = p;
      const int64_t gx = tx + ox, gy = ty + oy;
      if (gx < dst.Width && gy < dst.Height) dst.At(static_cast<int32_t>(gx), static_cast<int32_t>(gy)) = p;
    }
  }
}

}  // namespace

int32_t DrawClipped(const Surface& src, Surface& dst, Rect srcRect, int16_t x, int16_t y) {
  int64_t left = srcRect.Left, top = srcRect.Top, right = srcRect.Right, bottom = srcRect.Bottom;
  int64_t tx = x, ty = y;
  if (tx + (right - left) > kClipRight) right = left + (kClipRight - tx);
  if (ty + (bottom - top) > kClipBottom) bottom = top + (kClipBottom - ty);
  if (tx < 0) {
    left -= tx;
    tx = 0;
  }
  if (ty < 0) {
    top -= ty;
    ty = 0;
  }
  if (right <= left || bottom <= top) return (src.Lost || dst.Lost) ? kBlitSurfaceLost : kBlitOk;
  // The blit itself keeps the rectangle inside the source and the target.
  const auto clamp32 = [](int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
  const Rect r{clamp32(left), clamp32(top), clamp32(right), clamp32(bottom)};
  return BltFast(dst, static_cast<int32_t>(tx), static_cast<int32_t>(ty), src, r, true);
}

int32_t DrawRotated(const Surface& src, Surface& dst, int32_t cx, int32_t cy, long double angle, uint16_t w, uint16_t h,
                    uint16_t x, uint16_t y) {
  if (src.Lost || dst.Lost) return kBlitSurfaceLost;
  if (!std::isfinite(angle)) return kBlitOk;  // no sensible picture for it; draw nothing
  // Nothing to write into (a step played but not shown): the turning costs most where long
  // double is done in software, as in the browser.
  if (dst.Width <= 0 || dst.Height <= 0 || w == 0 || h == 0) return kBlitOk;
  // Whole turns are taken off one by one, as the game's angles are small; an absurdly large
  // angle is first brought down with fmod so the loop always ends.
  if (angle >= kTwoPi * 1048576.0L) angle = std::fmod(angle, kTwoPi);
  while (angle >= kTwoPi) angle -= kTwoPi;
  const long double s = std::sin(angle);
  const long double c = std::cos(angle);
  // The second write of each pixel fills the holes a forward mapping leaves between pixels.
  const bool down = angle < kPi / 2 || (kPi < angle && angle < 3 * kPi / 2);
  const int64_t ox = down ? 0 : 1;
  const int64_t oy = down ? 1 : 0;

  const int32_t rows = std::min<int32_t>(h, src.Height);
  const int32_t cols = std::min<int32_t>(w, src.Width);
  const int64_t baseX = int64_t{x} - cx;
  const int64_t baseY = int64_t{y} - cy;
  const RotatedCopy copy{src, dst, cx, cy, s, c, rows, cols, baseX, baseY, ox, oy};
  if (std::fegetround() == FE_TONEAREST) {
    RotatePixels<RoundPixelNearestMode>(copy);
  } else {
    RotatePixels<RoundPixel>(copy);
  }
  return kBlitOk;
}

void MirrorVertical(const Surface& src, Surface& dst) {
  if (src.Lost || dst.Lost) return;
  const int32_t h = dst.Height;
  const int32_t cols = std::min(dst.Width, src.Width);
  for (int32_t r = 0; r < h; ++r) {
    const int32_t from = h - 1 - r;
    if (from >= src.Height) continue;  // a smaller source leaves those rows as they are
    std::copy_n(src.Row(from), cols, dst.Row(r));
  }
}

int32_t FillBar(int32_t left, int32_t top, int32_t width, int32_t height, uint32_t gdiColour, Surface& dst) {
  if (dst.Lost) return kBlitSurfaceLost;
  const int64_t x0 = std::max<int64_t>(left, 0);
  const int64_t y0 = std::max<int64_t>(top, 0);
  const int64_t x1 = std::min<int64_t>(int64_t{left} + width, dst.Width);
  const int64_t y1 = std::min<int64_t>(int64_t{top} + height, dst.Height);
  if (x1 <= x0 || y1 <= y0) return kBlitOk;
  const uint32_t pixel = GdiToPixel(gdiColour);
  for (int64_t yy = y0; yy < y1; ++yy) {
    uint32_t* row = dst.Row(static_cast<int32_t>(yy));
    std::fill(row + x0, row + x1, pixel);
  }
  return kBlitOk;
}

}  // namespace sf
