#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>

#include "gfx/Blit.h"
#include "gfx/DrawOps.h"
#include "gfx/PixelRound.h"

namespace sf {
namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;

// A source whose every pixel is distinct and never the key.
Surface Numbered(int w, int h) {
  Surface s(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s.At(x, y) = static_cast<uint32_t>(0x010000 + y * 1000 + x);
  return s;
}

int CountNonZero(const Surface& s) {
  int n = 0;
  for (uint32_t p : s.Pixels) n += p != 0;
  return n;
}

TEST(DrawClipped, RightEdgeBottomEdgeAndNegativePositions) {
  const Surface src = Numbered(256, 8);
  Surface dst(800, 600);

  // x 790 with a 64-wide rectangle from column 128: columns 128..137 land on 790..799.
  EXPECT_EQ(DrawClipped(src, dst, Rect{128, 0, 192, 1}, 790, 10), kBlitOk);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(dst.At(790 + i, 10), src.At(128 + i, 0));
  EXPECT_EQ(CountNonZero(dst), 10);

  // Bottom exactly at row 598 draws everything; one row lower cuts the last source row.
  dst = Surface(800, 600);
  DrawClipped(src, dst, Rect{0, 0, 1, 8}, 5, 590);
  for (int r = 0; r < 8; ++r) EXPECT_EQ(dst.At(5, 590 + r), src.At(0, r));
  dst = Surface(800, 600);
  DrawClipped(src, dst, Rect{0, 0, 1, 8}, 5, 591);
  for (int r = 0; r < 7; ++r) EXPECT_EQ(dst.At(5, 591 + r), src.At(0, r));
  EXPECT_EQ(CountNonZero(dst), 7);  // rows 598 and 599 are never drawn

  // Negative x and y start inside the source.
  dst = Surface(800, 600);
  DrawClipped(src, dst, Rect{0, 0, 20, 4}, -10, -2);
  EXPECT_EQ(dst.At(0, 0), src.At(10, 2));
  EXPECT_EQ(dst.At(9, 1), src.At(19, 3));
  EXPECT_EQ(CountNonZero(dst), 20);
}

TEST(DrawClipped, SkipsTheKeyAndStaysInsideBothSurfaces) {
  Surface src = Numbered(4, 4);
  src.At(1, 1) = kColourKey;
  Surface dst(800, 600, 7);
  DrawClipped(src, dst, Rect{0, 0, 4, 4}, 100, 100);
  EXPECT_EQ(dst.At(101, 101), 7u);
  EXPECT_EQ(dst.At(100, 100), src.At(0, 0));

  // A rectangle reaching outside its source and a target smaller than the screen.
  Surface small(50, 40);
  EXPECT_EQ(DrawClipped(src, small, Rect{-3, -3, 90, 90}, 45, 35), kBlitOk);
  EXPECT_EQ(small.At(48, 38), src.At(0, 0));
  EXPECT_EQ(CountNonZero(small), 3);  // src (0..1, 0..1) fits at 48..49, 38..39; (1,1) is the key

  src.Lost = true;
  EXPECT_EQ(DrawClipped(src, dst, Rect{0, 0, 4, 4}, 0, 0), kBlitSurfaceLost);
}

// A keyed source with one opaque pixel at (k, r).
Surface OnePixel(int w, int h, int k, int r, uint32_t value = 0x123456) {
  Surface s(w, h, kColourKey);
  s.At(k, r) = value;
  return s;
}

std::vector<std::pair<int, int>> Written(const Surface& s) {
  std::vector<std::pair<int, int>> out;
  for (int y = 0; y < s.Height; ++y)
    for (int x = 0; x < s.Width; ++x)
      if (s.At(x, y) != 0) out.emplace_back(x, y);
  return out;
}

using Points = std::vector<std::pair<int, int>>;

TEST(DrawRotated, ZeroAngleTurnsHalfAroundTheCentreWithTheGapFillBelow) {
  for (auto [k, r] : {std::pair{0, 0}, std::pair{3, 2}, std::pair{4, 0}}) {
    Surface dst(800, 600);
    DrawRotated(OnePixel(5, 4, k, r), dst, 0, 0, 0.0L, 5, 4, 400, 300);
    EXPECT_EQ(Written(dst), (Points{{400 - k, 300 - r}, {400 - k, 301 - r}}));
  }
  // With a centre the centre itself lands at (X - cx, Y - cy).
  Surface dst(800, 600);
  DrawRotated(OnePixel(10, 10, 4, 6), dst, 4, 6, 0.0L, 10, 10, 400, 300);
  EXPECT_EQ(Written(dst), (Points{{396, 294}, {396, 295}}));
}

TEST(DrawRotated, WholeTurnsAreTakenOff) {
  Surface sprite = Numbered(18, 25);
  for (int i = 0; i < 40; ++i) sprite.Pixels[static_cast<size_t>(i * 11)] = kColourKey;
  auto draw = [&](long double angle) {
    Surface dst(800, 600);
    DrawRotated(sprite, dst, 9, 12, angle, 18, 25, 400, 300);
    return dst.Pixels;
  };
  EXPECT_EQ(draw(2 * kPi), draw(0.0L));
  EXPECT_EQ(draw(4 * kPi + 0.1L), draw(0.1L));
  EXPECT_NE(draw(0.1L), draw(0.0L));
  // Angles without a sensible picture draw nothing and return.
  EXPECT_EQ(draw(1e30L), draw(std::fmod(1e30L, 2 * kPi)));
  Surface dst(800, 600);
  DrawRotated(sprite, dst, 9, 12, NAN, 18, 25, 400, 300);
  EXPECT_EQ(CountNonZero(dst), 0);
}

TEST(DrawRotated, PlayfieldWindowEdges) {
  auto at = [](uint16_t x, uint16_t y, long double angle) {
    Surface dst(800, 600);
    DrawRotated(OnePixel(1, 1, 0, 0), dst, 0, 0, angle, 1, 1, x, y);
    return Written(dst);
  };
  EXPECT_EQ(at(117, 300, 0), Points{});
  EXPECT_EQ(at(118, 300, 0), (Points{{118, 300}, {118, 301}}));
  EXPECT_EQ(at(683, 300, 0), Points{});
  // Between a quarter and a half turn the gap fill goes right, one column past the window.
  EXPECT_EQ(at(682, 300, kPi), (Points{{682, 300}, {683, 300}}));
  EXPECT_EQ(at(400, 598, 0), (Points{{400, 598}, {400, 599}}));
  EXPECT_EQ(at(400, 599, 0), Points{});
  // A negative position arrives as a large unsigned value: nothing is drawn.
  EXPECT_EQ(at(static_cast<uint16_t>(-5), 300, 0), Points{});
  EXPECT_EQ(at(400, static_cast<uint16_t>(-1), 0), Points{});
}

TEST(DrawRotated, QuarterTurnDirectionAndSmallTargets) {
  // A quarter turn: source pixel (k, 0) with centre (0,0) goes to (X, Y - k), clockwise on screen.
  Surface dst(800, 600);
  DrawRotated(OnePixel(3, 1, 2, 0), dst, 0, 0, kPi / 2, 3, 1, 400, 300);
  EXPECT_EQ(Written(dst), (Points{{400, 298}, {401, 298}}));

  // A target smaller than the screen and a region larger than the source are both clipped.
  Surface small(120, 20);
  EXPECT_EQ(DrawRotated(Numbered(4, 4), small, 0, 0, 0.0L, 100, 100, 121, 19), kBlitOk);
  EXPECT_EQ(small.At(119, 19), Numbered(4, 4).At(2, 1));  // the gap fill of row 1 lands last
  Surface lost(10, 10);
  lost.Lost = true;
  EXPECT_EQ(DrawRotated(Numbered(4, 4), lost, 0, 0, 0.0L, 4, 4, 5, 5), kBlitSurfaceLost);
}

// The fast rounding of rotated pixels must give the explicit rule's answer: halves go to the even
// neighbour, and values a hair off a half go to the nearer one.
TEST(PixelRound, HalvesGoToTheEvenNeighbourInBothForms) {
  const long double ulp = std::numeric_limits<long double>::epsilon();
  const struct {
    long double v;
    int64_t want;
  } cases[] = {{0.5L, 0},
               {1.5L, 2},
               {2.5L, 2},
               {-0.5L, 0},
               {-1.5L, -2},
               {-2.5L, -2},
               {0.4999L, 0},
               {0.5L + ulp, 1},
               {2.5L - 4 * ulp, 2},
               {-2.5L - 4 * ulp, -3},
               {1234.5L, 1234},
               {1235.5L, 1236},
               {-70000.49L, -70000},
               {3.0L, 3},
               {-0.0L, 0}};
  ASSERT_EQ(std::fegetround(), FE_TONEAREST);
  for (const auto& c : cases) {
    EXPECT_EQ(RoundPixel(c.v), c.want) << static_cast<double>(c.v);
    EXPECT_EQ(RoundPixelNearestMode(c.v), c.want) << static_cast<double>(c.v);
  }
  // The explicit form keeps its answers under every other rounding mode.
  for (int mode : {FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
    ASSERT_EQ(std::fesetround(mode), 0);
    for (const auto& c : cases) EXPECT_EQ(RoundPixel(c.v), c.want) << static_cast<double>(c.v) << " mode " << mode;
    std::fesetround(FE_TONEAREST);
  }
}

TEST(MirrorVertical, RowsSwapAndSizesMayDiffer) {
  const Surface src = Numbered(3, 4);
  Surface dst(3, 4);
  MirrorVertical(src, dst);
  for (int r = 0; r < 4; ++r)
    for (int k = 0; k < 3; ++k) EXPECT_EQ(dst.At(k, r), src.At(k, 3 - r));
  Surface big(5, 6, 9);  // larger than the source: only what the source covers is written
  MirrorVertical(src, big);
  EXPECT_EQ(big.At(0, 2), src.At(0, 3));
  EXPECT_EQ(big.At(0, 0), 9u);
  EXPECT_EQ(big.At(4, 5), 9u);
}

TEST(FillBar, FillsExactlyTheRectangleInTheGdiColour) {
  Surface dst(20, 10);
  EXPECT_EQ(FillBar(2, 3, 4, 2, 0x0000FF, dst), kBlitOk);
  EXPECT_EQ(Written(dst), (Points{{2, 3}, {3, 3}, {4, 3}, {5, 3}, {2, 4}, {3, 4}, {4, 4}, {5, 4}}));
  EXPECT_EQ(dst.At(2, 3), 0xFF0000u);
  dst = Surface(20, 10);
  FillBar(18, -5, 10, 7, 0x00FF00, dst);  // clipped at the right and top edges
  EXPECT_EQ(Written(dst), (Points{{18, 0}, {19, 0}, {18, 1}, {19, 1}}));
  FillBar(5, 5, 0, 3, 0x00FF00, dst);
  EXPECT_EQ(Written(dst).size(), 4u);
}

TEST(PointInRect, EdgesAreOutside) {
  EXPECT_FALSE(PointInRect(0, 0, 10, 10, 0, 5));
  EXPECT_TRUE(PointInRect(0, 0, 10, 10, 5, 5));
  EXPECT_FALSE(PointInRect(0, 0, 10, 10, 10, 5));
  EXPECT_FALSE(PointInRect(0, 0, 10, 10, 5, 0));
  EXPECT_FALSE(PointInRect(0, 0, 10, 10, 5, 10));
  EXPECT_TRUE(PointInRect(0, 0, 10, 10, 9, 9));
}

}  // namespace
}  // namespace sf
