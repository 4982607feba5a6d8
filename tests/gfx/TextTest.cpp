#include <gtest/gtest.h>

#include <set>

#include "BuildFont.h"
#include "core/Colour.h"
#include "gfx/GdiFontMetrics.h"
#include "gfx/Text.h"

namespace sf {
namespace {

constexpr uint32_t kHighlightPixel = GdiToPixel(kHighlightColour);
constexpr uint32_t kNormalPixel = GdiToPixel(kNormalColour);
constexpr uint32_t kAlertPixel = GdiToPixel(kAlertColour);

TextRenderer& Renderer() {
  static TextRenderer renderer(testing::BuildFontPath());
  return renderer;
}

struct Box {
  int Left = 1 << 30, Top = 1 << 30, Right = -1, Bottom = -1;  // inclusive
  bool Empty() const { return Right < 0; }
};

Box InkBox(const Surface& s, uint32_t background = 0) {
  Box b;
  for (int y = 0; y < s.Height; ++y)
    for (int x = 0; x < s.Width; ++x)
      if (s.At(x, y) != background) {
        b.Left = std::min(b.Left, x);
        b.Right = std::max(b.Right, x);
        b.Top = std::min(b.Top, y);
        b.Bottom = std::max(b.Bottom, y);
      }
  return b;
}

TEST(GdiFontMetrics, CellHeightPicksTheLargestSizeThatFits) {
  const FaceTables dejaVu{2048, 1901, 483, 1901, -483, 1038};
  GdiFontSize s = ComputeGdiFontSize(dejaVu, 24, 0);
  EXPECT_EQ(s.Ppem, 21);
  EXPECT_EQ(s.Ascent, 19);
  EXPECT_EQ(s.Descent, 5);
  EXPECT_EQ(s.AveCharWidth, 11);
  EXPECT_EQ(s.ScaleX, 0x10000);
  EXPECT_EQ(ComputeGdiFontSize(dejaVu, 24, 10).ScaleX, (10 << 16) / 11);
  EXPECT_EQ(ComputeGdiFontSize(FaceTables{2048, 1901, 483, 1901, -483, 1173}, 24, 10).ScaleX, (10 << 16) / 12);

  const FaceTables tahomaBold{2048, 2049, 423, 2049, -423, 1412};
  for (int height : {14, 18, 20, 22, 24, 30, 32, 46}) {
    const GdiFontSize t = ComputeGdiFontSize(tahomaBold, height, 0);
    EXPECT_LE(t.CellHeight(), height) << height;
    EXPECT_GT(ComputeGdiFontSize(tahomaBold, -(t.Ppem + 1), 0).CellHeight(), height) << height;
  }
  EXPECT_EQ(ComputeGdiFontSize(tahomaBold, 20, 0).Ppem, 16);  // 17 would give a 21-pixel cell
  EXPECT_EQ(ComputeGdiFontSize(tahomaBold, -12, 0).Ppem, 12);
  EXPECT_EQ(ComputeGdiFontSize(tahomaBold, 0, 0).Ppem, ComputeGdiFontSize(tahomaBold, 16, 0).Ppem);
  EXPECT_EQ(ComputeGdiFontSize(tahomaBold, 32, -20).ScaleX, ComputeGdiFontSize(tahomaBold, 32, 20).ScaleX);
  EXPECT_LE(ComputeGdiFontSize(tahomaBold, 1 << 30, 5).Ppem, 1024);
}

TEST(GdiFontMetrics, BlendMatchesGdiLevelIntensities) {
  const int whiteOnBlack[17] = {0, 0, 104, 124, 140, 154, 167, 178, 189, 199, 208, 217, 225, 233, 240, 248, 255};
  const int blackOnWhite[17] = {255, 255, 240, 233, 225, 217, 208, 199, 189, 178, 167, 154, 140, 124, 104, 77, 0};
  for (int level = 0; level <= 16; ++level) {
    EXPECT_EQ(BlendTextChannel(level, 255, 0), whiteOnBlack[level]) << level;
    EXPECT_EQ(BlendTextChannel(level, 0, 255), blackOnWhite[level]) << level;
    EXPECT_EQ(BlendTextChannel(level, 77, 77), 77);
  }
  EXPECT_EQ(CoverageLevel(255), 16);
  EXPECT_EQ(CoverageLevel(15), 0);
  EXPECT_EQ(CoverageLevel(16), 1);
}

TEST(Text, EmptyStringAndLostSurfaceDrawNothing) {
  Surface s(100, 50, 0x010203);
  const auto before = s.Pixels;
  Renderer().DrawShadowText(s, 10, 10, 22, 12, "", kHighlightColour);
  Renderer().DrawAlignedText(s, 50, 10, 22, 12, "", kAlertColour, kAlignCenter, true);
  EXPECT_EQ(s.Pixels, before);
  EXPECT_EQ(Renderer().MeasureString(22, 12, 800, ""), 0);
  s.Lost = true;
  Renderer().DrawShadowText(s, 10, 10, 22, 12, "Pause", kHighlightColour);
  EXPECT_EQ(s.Pixels, before);
}

TEST(Text, InkStaysInsideTheCell) {
  for (auto [height, width] : {std::pair{14, 8}, std::pair{22, 12}, std::pair{32, 20}, std::pair{46, 20}}) {
    Surface s(400, 120);
    Renderer().DrawPlainText(s, 10, 30, height, width, "\xC1gjpqy|[]_\xC7", kHighlightColour, false);
    const CellMetrics m = Renderer().Metrics(height, width);
    EXPECT_LE(m.Ascent + m.Descent, height);
    const Box ink = InkBox(s);
    ASSERT_FALSE(ink.Empty());
    EXPECT_GE(ink.Top, 30) << height;
    EXPECT_LT(ink.Bottom, 30 + m.Ascent + m.Descent) << height;
    EXPECT_GE(ink.Bottom, 30 + m.Ascent) << "descenders reach below the baseline, height " << height;
  }
}

TEST(Text, WidthCondensesTheFace) {
  const int32_t wide = Renderer().MeasureString(46, 26, 800, "Exit the game?");
  const int32_t narrow = Renderer().MeasureString(46, 13, 800, "Exit the game?");
  EXPECT_LT(narrow, wide * 6 / 10);
  EXPECT_GT(narrow, wide * 4 / 10);
  EXPECT_EQ(Renderer().MeasureString(32, 20, 700, "John"), Renderer().MeasureString(32, 20, 800, "John"));
}

TEST(Text, ShadowColourRule) {
  EXPECT_EQ(TextRenderer::ShadowColour(kHighlightColour), kNormalColour);
  EXPECT_EQ(TextRenderer::ShadowColour(kNormalColour), kHighlightColour);
  EXPECT_EQ(TextRenderer::ShadowColour(kAlertColour), kHighlightColour);
  EXPECT_EQ(TextRenderer::ShadowColour(0x123456), kHighlightColour);

  auto colours = [](uint32_t colour, bool shadow) {
    Surface s(300, 80);
    Renderer().DrawPlainText(s, 10, 10, 46, 20, "Yes", colour, shadow);
    return std::set<uint32_t>(s.Pixels.begin(), s.Pixels.end());
  };
  EXPECT_TRUE(colours(kHighlightColour, true).count(kNormalPixel));
  EXPECT_TRUE(colours(kAlertColour, true).count(kHighlightPixel));
  EXPECT_TRUE(colours(kNormalColour, true).count(kHighlightPixel));
  EXPECT_FALSE(colours(kAlertColour, false).count(kHighlightPixel));
  EXPECT_FALSE(colours(kHighlightColour, false).count(kNormalPixel));
}

TEST(Text, ShadowIsTheTextOnePixelRightAndDown) {
  Surface shadowed(300, 80), shadowOnly(300, 80);
  Renderer().DrawShadowText(shadowed, 10, 10, 32, 20, "Level 3", kAlertColour);
  Renderer().DrawPlainText(shadowOnly, 11, 11, 32, 20, "Level 3", kHighlightColour, false);
  int seen = 0;
  for (size_t i = 0; i < shadowed.Pixels.size(); ++i) {
    if (shadowed.Pixels[i] == kHighlightPixel) {
      ++seen;
      EXPECT_EQ(shadowOnly.Pixels[i], kHighlightPixel);
    }
  }
  EXPECT_GT(seen, 20);
  const Box a = InkBox(shadowed), b = InkBox(shadowOnly);
  EXPECT_EQ(a.Right, b.Right);
  EXPECT_EQ(a.Bottom, b.Bottom);
}

TEST(Text, AlignmentCentresOnXOrEndsAtX) {
  for (const char* text : {"Game Over", "Pause", "12345", "W"}) {
    const int32_t w = Renderer().MeasureString(30, 12, 800, text);
    Surface left(800, 60), centred(800, 60), right(800, 60);
    Renderer().DrawAlignedText(left, 300 - w / 2, 5, 30, 12, text, kHighlightColour, kAlignLeft, true);
    Renderer().DrawAlignedText(centred, 300, 5, 30, 12, text, kHighlightColour, kAlignCenter, true);
    EXPECT_EQ(centred.Pixels, left.Pixels) << text;
    left = Surface(800, 60);
    Renderer().DrawAlignedText(left, 500 - w, 5, 30, 12, text, kHighlightColour, kAlignLeft, false);
    Renderer().DrawAlignedText(right, 500, 5, 30, 12, text, kHighlightColour, kAlignRight, false);
    EXPECT_EQ(right.Pixels, left.Pixels) << text;
    // The ink of right-aligned text ends at (not beyond) x.
    EXPECT_LE(InkBox(right).Right, 500);
    EXPECT_GE(InkBox(right).Right, 500 - 6);
  }
}

TEST(Text, ClippedAtEverySurfaceEdge) {
  const char* text = "Send the result to";
  for (auto [x, y] : {std::pair{-25, -9}, std::pair{150, 40}, std::pair{-300, 10}, std::pair{10, -40}}) {
    Surface big(240, 100), small(200, 60);
    Renderer().DrawShadowText(big, x + 20, y + 20, 24, 14, text, kNormalColour);
    Renderer().DrawShadowText(small, x, y, 24, 14, text, kNormalColour);
    for (int j = 0; j < small.Height; ++j)
      for (int i = 0; i < small.Width; ++i) ASSERT_EQ(small.At(i, j), big.At(i + 20, j + 20)) << x << "," << y;
  }
  Surface tiny(1, 1);
  Renderer().DrawShadowText(tiny, 0, 0, 46, 20, "W", kNormalColour);
  Renderer().DrawShadowText(tiny, 1 << 30, -(1 << 30), 46, 20, "W", kNormalColour);
}

TEST(Text, LatinOneBytesAreCharactersNotUtf8) {
  // 0xE9 is e-acute on its own; as UTF-8 it would start a three-byte sequence.
  EXPECT_GT(Renderer().MeasureString(24, 14, 800, "\xE9"), 0);
  EXPECT_EQ(Renderer().MeasureString(24, 14, 800, "\xE9\xE9\xE9"), 3 * Renderer().MeasureString(24, 14, 800, "\xE9"));
  Surface s(100, 40);
  Renderer().DrawPlainText(s, 5, 5, 24, 14, "\xE9", kHighlightColour, false);
  EXPECT_FALSE(InkBox(s).Empty());
}

TEST(Text, AntiAliasingFollowsTheFaceSizes) {
  Surface s(300, 80);
  Renderer().DrawPlainText(s, 10, 10, 46, 20, "Yes", kHighlightColour, false);
  std::set<uint32_t> colours(s.Pixels.begin(), s.Pixels.end());
  EXPECT_GT(colours.size(), 4u) << "edges are blended";

  TextRenderer everywhere(testing::BuildFontPath(), false);
  EXPECT_TRUE(everywhere.Metrics(14, 8).AntiAliased);
  if (!Renderer().Metrics(14, 8).AntiAliased) {
    // The face asks for black-and-white glyphs at this size: only the text colour is drawn.
    Surface small(300, 40);
    Renderer().DrawPlainText(small, 10, 10, 14, 8, "Help text", kNormalColour, false);
    std::set<uint32_t> c(small.Pixels.begin(), small.Pixels.end());
    EXPECT_EQ(c, (std::set<uint32_t>{0, kNormalPixel}));
  }
}

TEST(Text, MissingFontIsAClearError) {
  try {
    TextRenderer r("/nonexistent/font.ttf");
    FAIL();
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("/nonexistent/font.ttf"), std::string::npos);
  }
  EXPECT_THROW(TextRenderer(""), std::runtime_error);
}

}  // namespace
}  // namespace sf
