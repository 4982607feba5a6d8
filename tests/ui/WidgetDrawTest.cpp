#include <gtest/gtest.h>

#include "FakeMenuHost.h"
#include "ui/Buttons.h"

namespace sf::testing {
namespace {

constexpr uint32_t kUnderline = GdiToPixel(kNormalColour);

class WidgetDrawTest : public ::testing::Test {
 protected:
  FakeMenuHost host;
  Surface frame = Frame();
};

TEST_F(WidgetDrawTest, ToggleDrawsExactlyOneImage) {
  TDDToggleButton toggle(host, {436, 259, 472, 278}, {492, 259, 540, 278}, 17, 18);
  toggle.Draw(frame);
  EXPECT_EQ(frame.At(492, 259), MenuImageColour(18));
  EXPECT_EQ(frame.At(436, 259), 0u);

  frame = Frame();
  toggle.Checked = true;
  toggle.Draw(frame);
  EXPECT_EQ(frame.At(436, 259), MenuImageColour(17));
  EXPECT_EQ(frame.At(492, 259), 0u);
}

TEST_F(WidgetDrawTest, ToggleUnderlineSpansBothChoices) {
  TDDToggleButton toggle(host, {436, 259, 472, 278}, {492, 259, 540, 278}, 17, 18);
  toggle.Draw(frame);
  EXPECT_EQ(frame.At(450, 282), 0u) << "no underline without the cursor";

  toggle.Highlighted = true;
  toggle.Draw(frame);
  for (int32_t y : {282, 283}) {
    EXPECT_EQ(frame.At(434, y), kUnderline);
    EXPECT_EQ(frame.At(480, y), kUnderline);
    EXPECT_EQ(frame.At(544, y), kUnderline);
    EXPECT_EQ(frame.At(433, y), 0u);
    EXPECT_EQ(frame.At(545, y), 0u);
  }
  EXPECT_EQ(frame.At(480, 281), 0u);
  EXPECT_EQ(frame.At(480, 284), 0u);
}

TEST_F(WidgetDrawTest, TextButtonUnderlineAndCaptionColour) {
  TDDTextButton button(host, {510, 396, 600, 425}, "F12");
  auto count = [&](uint32_t gdi) {
    int n = 0;
    for (int32_t y = 396; y < 428; ++y)
      for (int32_t x = 510; x < 600; ++x) n += frame.At(x, y) == GdiToPixel(gdi);
    return n;
  };
  button.Draw(frame);
  EXPECT_EQ(frame.At(508, 429), 0u);
  EXPECT_GT(count(kNormalColour), count(kHighlightColour));

  frame = Frame();
  button.Highlighted = true;
  button.Draw(frame);
  EXPECT_GT(count(kHighlightColour), count(kNormalColour));
  // Rows Bottom + 4 and Bottom + 5, from Left - 2 to Right + 4.
  for (int32_t y : {429, 430}) {
    EXPECT_EQ(frame.At(508, y), kUnderline);
    EXPECT_EQ(frame.At(604, y), kUnderline);
    EXPECT_EQ(frame.At(507, y), 0u);
    EXPECT_EQ(frame.At(605, y), 0u);
  }
  EXPECT_EQ(frame.At(508, 428), 0u);
  EXPECT_EQ(frame.At(508, 431), 0u);
}

}  // namespace
}  // namespace sf::testing
