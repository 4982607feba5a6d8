#include <gtest/gtest.h>

#include "core/Random.h"
#include "gfx/Blit.h"
#include "gfx/KeyedRow.h"

namespace sf {
namespace {

// A picture of stretches of key and of picture, as keyed images are, plus lone key pixels.
Surface RandomKeyed(Random& rnd, int w, int h) {
  Surface s(w, h);
  bool key = rnd.RandInt(2) == 0;
  int left = 0;
  for (uint32_t& p : s.Pixels) {
    if (left-- <= 0) {
      key = !key;
      left = rnd.RandInt(40);
    }
    p = key || rnd.RandInt(30) == 0 ? kColourKey : static_cast<uint32_t>(rnd.RandInt(0x1000000));
  }
  return s;
}

// The plain rule: every source pixel of the rectangle that exists, lands inside the target and
// (for keyed copies) is not the key is copied.
void ReferenceBlit(Surface& dst, int x, int y, const Surface& src, const Rect& r, bool keyed) {
  for (int64_t sy = r.Top; sy < r.Bottom; ++sy)
    for (int64_t sx = r.Left; sx < r.Right; ++sx) {
      const int64_t dx = x + (sx - r.Left), dy = y + (sy - r.Top);
      if (sx < 0 || sy < 0 || sx >= src.Width || sy >= src.Height) continue;
      if (dx < 0 || dy < 0 || dx >= dst.Width || dy >= dst.Height) continue;
      const uint32_t p = src.At(static_cast<int>(sx), static_cast<int>(sy));
      if (!keyed || p != src.ColourKey) dst.At(static_cast<int>(dx), static_cast<int>(dy)) = p;
    }
}

TEST(Blit, FastPathsMatchThePlainRuleWithClipping) {
  Random rnd(12345);
  for (int round = 0; round < 300; ++round) {
    const Surface src = RandomKeyed(rnd, 1 + rnd.RandInt(70), 1 + rnd.RandInt(40));
    Surface fast(1 + rnd.RandInt(90), 1 + rnd.RandInt(50), 0x0A0B0C);
    Surface plain = fast;
    const Rect r{rnd.RandInt(src.Width + 20) - 10, rnd.RandInt(src.Height + 20) - 10, rnd.RandInt(src.Width + 30) - 5,
                 rnd.RandInt(src.Height + 30) - 5};
    const int x = rnd.RandInt(fast.Width + 40) - 20, y = rnd.RandInt(fast.Height + 40) - 20;
    const bool keyed = rnd.RandInt(4) != 0;
    ASSERT_EQ(BltFast(fast, x, y, src, r, keyed), kBlitOk);
    ReferenceBlit(plain, x, y, src, r, keyed);
    ASSERT_EQ(fast.Pixels, plain.Pixels) << "round " << round;
  }
}

TEST(Blit, EveryKeyedRowVariantMatchesThePlainLoop) {
  Random rnd(99);
  for (KeyedRowFn variant : {KeyedRowAvx2(), KeyedRowAvx512(), BestKeyedRow()}) {
    if (variant == nullptr) continue;
    for (int n = 0; n < 70; ++n) {
      const Surface src = RandomKeyed(rnd, n + 1, 1);
      std::vector<uint32_t> a(static_cast<size_t>(n) + 3, 0x55), b = a;
      variant(a.data() + 1, src.Pixels.data(), n, kColourKey);
      KeyedRowPlain(b.data() + 1, src.Pixels.data(), n, kColourKey);
      ASSERT_EQ(a, b) << n;  // including the guard pixels on both sides
    }
  }
}

TEST(Blit, ExtremeRectanglesAndLostSurfaces) {
  Surface src(4, 4, 1), dst(8, 8);
  EXPECT_EQ(BltFast(dst, INT32_MAX, INT32_MIN, src, Rect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, true), kBlitOk);
  EXPECT_EQ(BltFast(dst, -2, -2, src, Rect{INT32_MIN, 0, INT32_MAX, 4}, false), kBlitOk);
  for (uint32_t p : dst.Pixels) EXPECT_EQ(p, 0u);
  dst.Lost = true;
  EXPECT_EQ(BltFast(dst, 0, 0, src, true), kBlitSurfaceLost);
  EXPECT_EQ(FillSurface(dst, 3), kBlitSurfaceLost);
}

}  // namespace
}  // namespace sf
