// A game pad gives the same effects as the keys it stands for.
#include "FormFixture.h"
#include "game/Game.h"
#include "game/GameTables.h"
#include "platform/PadMapper.h"

namespace sf::testing {
namespace {

class Pad : public FormFixture {
 protected:
  void SetUp() override {
    FormFixture::SetUp();
    Start();
    SkipIntro();
    window.Pads.Connect(1);
  }
  // A pass of the loop as the real program runs it: events (the pad's too), then a frame.
  void Pass() {
    clock.Advance(16);
    window.PadNowMs += 16;
    form->Pump();
  }
  void Press(int button) {
    window.Pads.SetButton(1, button, true);
    Pass();
    window.Pads.SetButton(1, button, false);
    Pass();
  }
  void StartPlaying() {
    form->Widgets().MainMenu.Select(0);
    Press(padA);
    ASSERT_EQ(form->Screen(), scrGame);
    for (int i = 0; i < 300 && form->Game()->Phase != phasePlaying; ++i) Pass();
    ASSERT_EQ(form->Game()->Phase, phasePlaying);
  }
};

TEST_F(Pad, MovesTheMenuCursorWithRepeatConfirmsAndGoesBack) {
  form->Widgets().MainMenu.Select(0);
  window.Pads.SetButton(1, padDpadDown, true);
  Pass();
  EXPECT_EQ(form->Widgets().MainMenu.Index, 1);
  for (int i = 0; i < 30; ++i) Pass();  // held for about half a second: the cursor repeats
  EXPECT_GT(form->Widgets().MainMenu.Index, 1);
  window.Pads.SetButton(1, padDpadDown, false);
  form->Widgets().MainMenu.Select(1);
  Pass();
  Press(padA);
  EXPECT_EQ(form->Screen(), scrOptions);
  Press(padB);
  EXPECT_EQ(form->Screen(), scrMainMenu);
  Press(padB);
  EXPECT_EQ(form->Screen(), scrExitQuestion);
  Press(padB);
  EXPECT_EQ(form->Screen(), scrMainMenu) << "B answers a dialog like Esc";
}

TEST_F(Pad, StickAndTriggerPlayTheGameLikeArrowsAndCtrl) {
  StartPlaying();
  const int16_t x0 = form->Game()->Ship.X;
  window.Pads.SetAxis(1, padLeftX, -30000);
  for (int i = 0; i < 5; ++i) Pass();
  const int16_t movedByPad = static_cast<int16_t>(x0 - form->Game()->Ship.X);
  window.Pads.SetAxis(1, padLeftX, 0);
  Pass();
  const int16_t x1 = form->Game()->Ship.X;
  window.Keys[kScanLeft] = 0x80;
  for (int i = 0; i < 5; ++i) Pass();
  window.Keys[kScanLeft] = 0;
  EXPECT_GT(movedByPad, 0);
  EXPECT_EQ(movedByPad, x1 - form->Game()->Ship.X) << "the stick moves the ship exactly like the key";

  window.Pads.SetAxis(1, padTriggerRight, 32767);
  Pass();
  EXPECT_EQ(form->KeyState()[kScanLeftCtrl], 0x80);
  window.Pads.SetAxis(1, padTriggerRight, 0);
  window.Pads.SetAxis(1, padLeftX, 1000);  // inside the dead zone
  Pass();
  EXPECT_EQ(form->KeyState()[kScanLeftCtrl], 0);
  EXPECT_EQ(form->KeyState()[kScanRight], 0);
}

TEST_F(Pad, WeaponChangeOncePerPressPauseAndLeaveQuestion) {
  StartPlaying();
  form->Game()->Ammo[1] = 10;
  form->Game()->Ammo[2] = 10;
  window.Pads.SetButton(1, padX, true);
  for (int i = 0; i < 40; ++i) Pass();  // held: one change only
  EXPECT_EQ(form->Game()->Weapon, 1);
  window.Pads.SetButton(1, padX, false);
  Pass();
  Press(padRightShoulder);
  EXPECT_EQ(form->Game()->Weapon, 2);
  Press(padStart);
  EXPECT_EQ(form->Screen(), scrPause);
  Press(padStart);
  EXPECT_EQ(form->Screen(), scrGame);
  Press(padBack);
  EXPECT_EQ(form->Screen(), scrQuitGameQuestion);
  Press(padB);
  EXPECT_EQ(form->Screen(), scrGame);
}

TEST_F(Pad, UnpluggingDuringAGameLeavesNoStuckFireOrMovement) {
  StartPlaying();
  window.Pads.SetButton(1, padA, true);
  window.Pads.SetAxis(1, padLeftX, 32767);
  Pass();
  EXPECT_EQ(form->KeyState()[kScanLeftCtrl], 0x80);
  window.Pads.Disconnect(1);
  Pass();
  const int16_t x = form->Game()->Ship.X;
  for (int i = 0; i < 5; ++i) Pass();
  EXPECT_EQ(form->KeyState()[kScanLeftCtrl], 0);
  EXPECT_EQ(form->KeyState()[kScanRight], 0);
  EXPECT_EQ(form->Game()->Ship.X, x);
  window.Pads.Connect(2);  // plugged in again, as another pad
  window.Pads.SetButton(2, padA, true);
  Pass();
  EXPECT_EQ(form->KeyState()[kScanLeftCtrl], 0x80);
}

}  // namespace
}  // namespace sf::testing
