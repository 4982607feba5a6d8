#include <gtest/gtest.h>

#include "FakeMenuHost.h"
#include "ui/Menus.h"

namespace sf::testing {
namespace {

class MainMenuTest : public ::testing::Test {
 protected:
  FakeMenuHost host;
  Menus menus{host};
  TDDMainBtnCollection& main = menus.MainMenu;
  Surface frame = Frame();

  // Two frames: the first takes the selection from the pointer, the second shows it.
  void TwoFrames() {
    main.Draw(frame);
    main.Draw(frame);
  }
};

TEST_F(MainMenuTest, CreationSelectsFirstItemOfEveryButtonListWithSound) {
  EXPECT_EQ(host.sounds, 3);  // main menu, high-score buttons, help buttons
  EXPECT_EQ(main.Count(), 6);
  EXPECT_EQ(main.Index, 0);
  EXPECT_TRUE(main.Buttons[0].Selected);
  EXPECT_EQ(menus.HelpButtons.Index, 0);
  EXPECT_TRUE(menus.YesNoDialog.Choice);
  EXPECT_TRUE(menus.OkCancelDialog.Choice);
}

TEST_F(MainMenuTest, SelectNextAndPrevWrapAroundWithSound) {
  main.Select(5);
  host.sounds = 0;
  main.SelectNext();
  EXPECT_EQ(main.Index, 0);
  EXPECT_TRUE(main.Buttons[0].Selected);
  EXPECT_FALSE(main.Buttons[5].Selected);
  EXPECT_EQ(host.sounds, 1);

  main.SelectPrev();
  EXPECT_EQ(main.Index, 5);
  EXPECT_TRUE(main.Buttons[5].Selected);
  EXPECT_FALSE(main.Buttons[0].Selected);
  EXPECT_EQ(host.sounds, 2);

  main.Select(5);  // selecting the current item still sounds
  EXPECT_EQ(host.sounds, 3);
}

TEST_F(MainMenuTest, PointerOnBorderDoesNotSelect) {
  // Item 3 is (188, 349, 284, 398); every edge is outside.
  for (auto [px, py] : {std::pair{188, 370}, {284, 370}, {230, 349}, {230, 398}}) {
    host.MoveTo(px, py);
    main.Draw(frame);
    EXPECT_EQ(main.Index, 0) << px << "," << py;
  }
  host.MoveTo(189, 350);
  main.Draw(frame);
  EXPECT_EQ(main.Index, 3);
}

TEST_F(MainMenuTest, PointerIgnoredAfterKeyPressUntilItMoves) {
  host.MoveTo(230, 370);  // over item 3
  TwoFrames();
  ASSERT_EQ(main.Index, 3);

  host.KeyPressed();
  main.SelectNext();
  host.sounds = 0;
  TwoFrames();
  EXPECT_EQ(main.Index, 4);
  EXPECT_EQ(host.sounds, 0);

  host.MoveTo(231, 370);
  main.Draw(frame);
  EXPECT_EQ(main.Index, 3);
  EXPECT_EQ(host.sounds, 1);
}

TEST_F(MainMenuTest, PressWithoutMovementActivatesKeyboardChoice) {
  host.MoveTo(230, 370);  // over item 3
  TwoFrames();
  host.KeyPressed();
  main.SelectPrev();
  main.SelectPrev();  // item 1 by keyboard
  main.Draw(frame);

  menus.MouseDownTestAll();
  EXPECT_TRUE(main.Clicked);
  EXPECT_EQ(main.Index, 1);
  EXPECT_FALSE(menus.HighScoreButtons.Clicked);

  host.MoveTo(500, 100);  // nowhere
  menus.MouseDownTestAll();
  EXPECT_FALSE(main.Clicked);
}

TEST_F(MainMenuTest, PointerOnAnotherItemFromPageReturnsToMainMenu) {
  main.Select(1);
  host.screen = scrOptions;
  host.MoveTo(200, 250);  // over item 1, already selected
  main.Draw(frame);
  EXPECT_EQ(host.screen, scrOptions);

  host.sounds = 0;
  host.MoveTo(100, 190);  // over item 0
  main.Draw(frame);
  EXPECT_EQ(host.screen, scrMainMenu);
  EXPECT_EQ(main.Index, 0);
  EXPECT_EQ(host.sounds, 1);
}

TEST_F(MainMenuTest, PlainButtonListDoesNotChangeScreen) {
  host.screen = scrHighScores;
  host.MoveTo(600, 480);  // over the world-scores button
  menus.HighScoreButtons.Draw(frame);
  EXPECT_EQ(menus.HighScoreButtons.Index, 1);
  EXPECT_EQ(host.screen, scrHighScores);
}

TEST_F(MainMenuTest, HighlightImageShowsFromNextFrameAtItemCorner) {
  host.MoveTo(230, 370);  // over item 3: its highlight is menu image 4 at (188, 349)
  main.Draw(frame);
  EXPECT_EQ(frame.At(188, 349), 0u) << "taken over this frame, shown from the next";
  main.Draw(frame);
  EXPECT_EQ(frame.At(188, 349), MenuImageColour(4));
  EXPECT_EQ(frame.At(188 + kFakeImageWidth - 1, 349 + kFakeImageHeight - 1), MenuImageColour(4));
  EXPECT_EQ(frame.At(187, 349), 0u);
  EXPECT_EQ(frame.At(188, 348), 0u);
}

TEST_F(MainMenuTest, UnselectedButtonDrawsNothing) {
  main.Buttons[2].Draw(frame);
  for (uint32_t p : frame.Pixels) ASSERT_EQ(p, 0u);
}

TEST_F(MainMenuTest, SetIndexMovesHighlightSilently) {
  host.sounds = 0;
  main.SetIndex(2);
  main.Draw(frame);
  EXPECT_EQ(host.sounds, 0);
  EXPECT_EQ(frame.At(62, 289), MenuImageColour(3));
  EXPECT_FALSE(main.Buttons[0].Selected);
}

TEST_F(MainMenuTest, MenusSurviveImageReload) {
  main.Select(4);
  host.images.MenuImages[5] = std::make_unique<Surface>(4, 4, 0x123456);  // a reloaded image
  main.Draw(frame);
  EXPECT_EQ(frame.At(23, 410), 0x123456u);
  host.images.MenuImages[5].reset();  // a failed reload draws nothing rather than crashing
  Surface blank = Frame();
  main.Draw(blank);
  EXPECT_EQ(blank.At(23, 410), 0u);
}

}  // namespace
}  // namespace sf::testing
