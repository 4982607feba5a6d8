#pragma once
// A game played through the main window on the fake platform to a new high score, steered by a
// small scripted player; shared by the tests of what follows a finished game.
#include <algorithm>
#include <string>

#include "FormFixture.h"
#include "game/Game.h"
#include "game/GameTables.h"

namespace sf::testing {

class HighScoreGame : public FormFixture {
 protected:
  Platform* services = nullptr;  // the fakes when not set

  void StartGame() {
    if (services)
      Start(*services);
    else
      Start();
    SkipIntro();
    for (auto& entry : form->Config().highScores.Entries) entry.Score = 0;  // any score enters the table
    form->Widgets().MainMenu.Select(0);
    Key(vkReturn);
    ASSERT_EQ(form->Screen(), scrGame);
  }

  // Steers towards the first enemy and fires, with the keys or the mouse.
  void Steer(int frame) {
    std::fill(std::begin(window.Keys), std::end(window.Keys), uint8_t{0});
    const TGame& game = *form->Game();
    int target = 400;
    for (const auto& e : game.Engine.Slots) {
      if (e && e->Kind != enmSupplyPlane && e->Y > 0) {
        target = e->X + Info(e->Kind).Size.Width / 2;
        break;
      }
    }
    const int centre = game.Ship.X + 13;
    const int direction = centre < target - 4 ? 1 : centre > target + 4 ? -1 : 0;
    if ((frame / 400) % 2 == 1) {
      window.Mouse.X = 3 * direction;
      window.Mouse.Buttons[0] = 0x80;
    } else {
      window.Mouse.Buttons[0] = 0;
      if (direction > 0) window.Keys[kScanRight] = 0x80;
      if (direction < 0) window.Keys[kScanLeft] = 0x80;
      window.Keys[kScanLeftCtrl] = 0x80;
    }
  }

  // Plays until the game has a score, with a pause, a lost focus and weapon changes on the way,
  // then leaves it and enters the name.
  void PlayToHighScore() {
    StartGame();
    int frame = 0;
    for (; frame < 64 * 120 && (frame < 1200 || form->Game()->Score == 0); ++frame) {
      Steer(frame);
      if (frame == 300) {
        Key('P');
        Frame(20);
        ASSERT_EQ(form->Screen(), scrPause);
        Key('P');
      }
      if (frame == 700) {
        form->ApplicationEvents1Deactivate();
        Frame(10);
        form->ApplicationEvents1Activate();
        ASSERT_EQ(form->Screen(), scrPause);
        Key('P');
      }
      if (frame % 250 == 100 && form->Game()->Phase == phasePlaying) Key(vkSpace);
      Frame();
    }
    ASSERT_GT(form->Game()->Score, 0) << "no enemy was hit in " << frame << " frames";
    std::fill(std::begin(window.Keys), std::end(window.Keys), uint8_t{0});
    while (form->Game()->Phase != phasePlaying) Frame();
    Key(vkEscape);
    ASSERT_EQ(form->Screen(), scrQuitGameQuestion);
    Key('Y');
    for (int i = 0; i < 300 && form->Screen() == scrGame; ++i) Frame();
    ASSERT_EQ(form->Screen(), scrEnterName);
    for (char c : std::string("ROSA")) Key(static_cast<uint16_t>(c));
    Key(vkReturn);
    ASSERT_EQ(form->Screen(), scrSendQuestion);
  }
};

}  // namespace sf::testing
