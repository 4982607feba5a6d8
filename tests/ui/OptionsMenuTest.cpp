#include <gtest/gtest.h>

#include "FakeMenuHost.h"
#include "ui/Menus.h"

namespace sf::testing {
namespace {

class OptionsMenuTest : public ::testing::Test {
 protected:
  OptionsMenuTest() {
    host.screen = scrOptions;
    // The widget side of the options branch of the command dispatcher.
    host.onCommand = [this] {
      if (host.screen != scrOptions || !opt.Clicked) return;
      switch (opt.Cursor) {
        case 0:
        case 1: opt.DisplayToggle.Checked = opt.Cursor == 0; break;
        case 2:
        case 3: opt.MusicToggle.Checked = opt.Cursor == 2; break;
        case 4:
        case 5: opt.SoundToggle.Checked = opt.Cursor == 4; break;
        case 6: opt.NameEdit.Editing = !opt.NameEdit.Editing; break;
        case 7: menus.StartKeyCapture(); break;
      }
    };
  }

  FakeMenuHost host;
  Menus menus{host};
  TDDOptBtnCollection& opt = menus.OptionsMenu;
  Surface frame = Frame();
};

TEST_F(OptionsMenuTest, MoveDownAndUpLandOnTheCheckedChoice) {
  opt.MouseMode = true;
  opt.Cursor = 1;
  opt.MusicToggle.Checked = true;
  opt.MoveDown();
  EXPECT_EQ(opt.Cursor, 2);
  EXPECT_FALSE(opt.MouseMode);

  opt.Cursor = 0;
  opt.MusicToggle.Checked = false;
  opt.MoveDown();
  EXPECT_EQ(opt.Cursor, 3);

  opt.SoundToggle.Checked = false;
  opt.MoveDown();
  EXPECT_EQ(opt.Cursor, 5);
  opt.MoveDown();
  EXPECT_EQ(opt.Cursor, 6);
  opt.MoveDown();
  EXPECT_EQ(opt.Cursor, 7);
  opt.DisplayToggle.Checked = false;
  opt.MoveDown();
  EXPECT_EQ(opt.Cursor, 1);  // wraps to the display row's full-screen choice

  opt.MoveUp();
  EXPECT_EQ(opt.Cursor, 7);
  opt.MoveUp();
  EXPECT_EQ(opt.Cursor, 6);
  opt.SoundToggle.Checked = true;
  opt.MoveUp();
  EXPECT_EQ(opt.Cursor, 4);
  opt.MoveUp();
  EXPECT_EQ(opt.Cursor, 3);
  opt.DisplayToggle.Checked = true;
  opt.MoveUp();
  EXPECT_EQ(opt.Cursor, 0);
}

TEST_F(OptionsMenuTest, MovesPlayTheMenuSound) {
  host.sounds = 0;
  opt.MoveDown();
  opt.MoveUp();
  EXPECT_EQ(host.sounds, 2);
}

TEST_F(OptionsMenuTest, LeftOnMusicRowWhileOffSwitchesItOn) {
  opt.MusicToggle.Checked = false;
  opt.Cursor = 3;
  opt.Clicked = false;
  opt.ChooseFirst();
  EXPECT_EQ(opt.Cursor, 2);
  EXPECT_TRUE(opt.Clicked);
  EXPECT_EQ(host.commands, 1);
  EXPECT_TRUE(opt.MusicToggle.Checked);

  // The music row now shows On: menu image 17 at the first choice's corner, not image 18.
  opt.Draw(frame);
  EXPECT_EQ(frame.At(436, 259), MenuImageColour(17));
  EXPECT_EQ(frame.At(492, 259), 0u);

  opt.ChooseSecond();
  EXPECT_EQ(opt.Cursor, 3);
  EXPECT_FALSE(opt.MusicToggle.Checked);
}

TEST_F(OptionsMenuTest, LeftAndRightIgnoredOffTheChoiceRows) {
  opt.Cursor = 6;
  opt.ChooseFirst();
  opt.ChooseSecond();
  EXPECT_EQ(opt.Cursor, 6);
  EXPECT_EQ(host.commands, 0);
}

TEST_F(OptionsMenuTest, ActivateSwitchesRowToItsOtherChoice) {
  opt.Cursor = 4;
  opt.SoundToggle.Checked = true;
  opt.Activate();
  EXPECT_EQ(opt.Cursor, 5);
  EXPECT_FALSE(opt.SoundToggle.Checked);
  opt.Activate();
  EXPECT_EQ(opt.Cursor, 4);
  EXPECT_TRUE(opt.SoundToggle.Checked);
}

TEST_F(OptionsMenuTest, EnterOnNameFieldTogglesTypingAndToggleRowEndsIt) {
  opt.Cursor = 6;
  opt.Activate();
  EXPECT_EQ(opt.Cursor, 6);
  EXPECT_TRUE(opt.NameEdit.Editing);
  opt.Draw(frame);
  EXPECT_TRUE(opt.NameEdit.Focused);

  opt.Activate();
  EXPECT_FALSE(opt.NameEdit.Editing);
  opt.Activate();
  ASSERT_TRUE(opt.NameEdit.Editing);

  opt.MoveDown();  // to the key button: typing mode stays
  opt.Draw(frame);
  EXPECT_TRUE(opt.NameEdit.Editing);
  EXPECT_FALSE(opt.NameEdit.Focused);
  EXPECT_TRUE(opt.KeyButton.Highlighted);

  opt.MoveUp();  // back to the name field: typing resumes
  opt.Draw(frame);
  EXPECT_TRUE(opt.NameEdit.Focused);
  EXPECT_TRUE(opt.NameEdit.Editing);

  opt.MoveUp();  // to the sound row: typing ends
  opt.Draw(frame);
  EXPECT_FALSE(opt.NameEdit.Editing);
  EXPECT_TRUE(opt.SoundToggle.Highlighted);
  EXPECT_FALSE(opt.MusicToggle.Highlighted);
}

TEST_F(OptionsMenuTest, EnterOnKeyButtonAlwaysStartsKeyCapture) {
  opt.Cursor = 7;
  host.MoveTo(10, 10);
  menus.MouseDownTestAll();  // a click elsewhere cleared the flag
  ASSERT_FALSE(opt.Clicked);
  opt.Activate();
  EXPECT_EQ(opt.Cursor, 7);
  EXPECT_EQ(host.screen, scrKeyCapture);
  EXPECT_EQ(opt.KeyButton.Caption, "...");
}

TEST_F(OptionsMenuTest, PointerFollowedOnlyInMouseMode) {
  host.MoveTo(520, 315);  // over sound off
  opt.MouseMode = false;
  opt.Draw(frame);
  EXPECT_EQ(opt.Cursor, 0);

  host.sounds = 0;
  opt.MouseMode = true;
  opt.Draw(frame);
  EXPECT_EQ(opt.Cursor, 5);
  EXPECT_EQ(host.sounds, 1);
  EXPECT_TRUE(opt.SoundToggle.Highlighted);

  host.MoveTo(520, 396);  // on the key button's top edge: outside
  opt.Draw(frame);
  EXPECT_EQ(opt.Cursor, 5);
  host.MoveTo(520, 400);
  opt.Draw(frame);
  EXPECT_EQ(opt.Cursor, 7);
}

TEST_F(OptionsMenuTest, MouseDownTestCoversAllEightAreasWithoutMovingCursor) {
  for (auto [px, py] :
       {std::pair{500, 220}, {600, 220}, {450, 270}, {500, 270}, {460, 315}, {520, 315}, {600, 360}, {550, 410}}) {
    host.MoveTo(px, py);
    opt.MouseDownTest();
    EXPECT_TRUE(opt.Clicked) << px << "," << py;
  }
  EXPECT_EQ(opt.Cursor, 0);
  host.MoveTo(575, 220);  // between the display choices
  opt.MouseDownTest();
  EXPECT_FALSE(opt.Clicked);
}

TEST_F(OptionsMenuTest, KeyCaptureIgnoresThePointer) {
  opt.Cursor = 7;
  opt.Draw(frame);
  opt.Activate();
  ASSERT_EQ(host.screen, scrKeyCapture);

  host.sounds = 0;
  opt.MouseMode = true;
  host.MoveTo(500, 220);  // over the windowed choice
  opt.DrawWidgetsOnly(frame);
  EXPECT_EQ(opt.Cursor, 7);
  EXPECT_TRUE(opt.KeyButton.Highlighted);
  EXPECT_EQ(host.screen, scrKeyCapture);
  EXPECT_EQ(host.sounds, 0);

  EXPECT_FALSE(menus.TryCaptureKey(48));
  EXPECT_FALSE(menus.TryCaptureKey(16));
  EXPECT_EQ(host.screen, scrKeyCapture);
  EXPECT_EQ(opt.KeyButton.Caption, "...");

  EXPECT_TRUE(menus.TryCaptureKey(123));
  EXPECT_EQ(host.screen, scrOptions);
  EXPECT_EQ(opt.KeyButton.Caption, "F12");
}

}  // namespace
}  // namespace sf::testing
