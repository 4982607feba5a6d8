#include <gtest/gtest.h>

#include "FakeMenuHost.h"
#include "ui/Menus.h"

namespace sf::testing {
namespace {

class DialogTest : public ::testing::Test {
 protected:
  FakeMenuHost host;
  Menus menus{host};
  TDDTextBtnCollection& dialog = menus.YesNoDialog;
  Surface frame = Frame();
};

TEST_F(DialogTest, LeftThenRightWithPointerRestingOnLeftButton) {
  host.MoveTo(300, 360);  // over "Yes"
  host.KeyPressed();      // the dialog follows the pointer all the same
  host.sounds = 0;
  dialog.SetChoice(true);
  dialog.SetChoice(false);
  EXPECT_FALSE(dialog.Choice);
  EXPECT_EQ(host.sounds, 2);

  dialog.Draw(frame);
  EXPECT_TRUE(dialog.Choice);
  EXPECT_EQ(host.sounds, 3);
  dialog.Draw(frame);
  EXPECT_EQ(host.sounds, 3);  // no change, no sound
}

TEST_F(DialogTest, PointerAwayLeavesKeyboardChoice) {
  host.MoveTo(400, 100);
  dialog.SetChoice(false);
  dialog.Draw(frame);
  EXPECT_FALSE(dialog.Choice);
  host.MoveTo(460, 360);  // left edge of "No": outside
  dialog.SetChoice(true);
  dialog.Draw(frame);
  EXPECT_TRUE(dialog.Choice);
}

TEST_F(DialogTest, MouseDownTestOnEitherButton) {
  host.MoveTo(300, 360);
  menus.MouseDownTestAll();
  EXPECT_TRUE(menus.YesNoDialog.Clicked);
  EXPECT_TRUE(menus.OkCancelDialog.Clicked);
  host.MoveTo(500, 360);
  menus.MouseDownTestAll();
  EXPECT_TRUE(menus.YesNoDialog.Clicked);  // "No" ends at 510
  EXPECT_TRUE(menus.OkCancelDialog.Clicked);
  host.MoveTo(400, 360);  // between the buttons of both dialogs
  menus.MouseDownTestAll();
  EXPECT_FALSE(menus.YesNoDialog.Clicked);
  EXPECT_FALSE(menus.OkCancelDialog.Clicked);
}

// The chosen caption is orange with a dark-blue shadow, the other dark blue with an orange one.
TEST_F(DialogTest, ChosenCaptionDrawnInHighlightColour) {
  host.MoveTo(0, 0);
  auto count = [&](const Rect& r, uint32_t gdi) {
    int n = 0;
    for (int32_t y = r.Top; y < r.Bottom + 10; ++y)
      for (int32_t x = r.Left; x < r.Right + 10; ++x) n += frame.At(x, y) == GdiToPixel(gdi);
    return n;
  };
  dialog.Draw(frame);
  EXPECT_GT(count(dialog.Rect1, kHighlightColour), count(dialog.Rect1, kNormalColour));
  EXPECT_GT(count(dialog.Rect2, kNormalColour), count(dialog.Rect2, kHighlightColour));

  frame = Frame();
  dialog.SetChoice(false);
  dialog.Draw(frame);
  EXPECT_GT(count(dialog.Rect1, kNormalColour), count(dialog.Rect1, kHighlightColour));
  EXPECT_GT(count(dialog.Rect2, kHighlightColour), count(dialog.Rect2, kNormalColour));
}

}  // namespace
}  // namespace sf::testing
