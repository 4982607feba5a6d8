#include <gtest/gtest.h>

#include "BuildFont.h"
#include "core/Colour.h"
#include "options/HighScoreView.h"

namespace sf {
namespace {

struct Ink {
  int Left = 1 << 30, Top = 1 << 30, Right = -1, Bottom = -1;
  int Highlight = 0, Normal = 0;
};

Ink InkIn(const Surface& s, int top, int bottom) {
  Ink ink;
  for (int y = top; y < bottom; ++y)
    for (int x = 0; x < s.Width; ++x) {
      const uint32_t p = s.At(x, y);
      if (p == 0) continue;
      ink.Left = std::min(ink.Left, x);
      ink.Right = std::max(ink.Right, x);
      ink.Top = std::min(ink.Top, y);
      ink.Bottom = std::max(ink.Bottom, y);
      ink.Highlight += p == GdiToPixel(kHighlightColour);
      ink.Normal += p == GdiToPixel(kNormalColour);
    }
  return ink;
}

TEST(HighScoreView, TenRowsWithTheBestInTheHighlightColour) {
  TextRenderer text(testing::BuildFontPath());
  Surface target(800, 600);
  HighScores table;
  table[0].Name = "Wwwwwwwwww";
  DrawHighScores(text, target, table);

  const Ink all = InkIn(target, 0, 600);
  EXPECT_GE(all.Left, 320);
  EXPECT_GE(all.Top, 190);
  EXPECT_LT(all.Bottom, 190 + 26 * 10 + 2);
  EXPECT_GT(all.Right, 650);  // the scores column

  const Ink best = InkIn(target, 190, 190 + 26);
  EXPECT_GT(best.Highlight, best.Normal);
  for (int row = 1; row < 10; ++row) {
    const Ink ink = InkIn(target, 190 + 26 * row + 2, 190 + 26 * (row + 1));
    EXPECT_GT(ink.Normal, ink.Highlight) << row;
    EXPECT_LT(ink.Left, 340) << row;  // the rank is drawn
  }
}

}  // namespace
}  // namespace sf
