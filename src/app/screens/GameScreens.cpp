// The game and its pause.
#include "app/Form.h"
#include "app/screens/ScreenUnit.h"
#include "core/Colour.h"
#include "game/Game.h"
#include "gfx/Blit.h"
#include "layout/MenuLayout.h"
#include "platform/Input.h"

namespace sf {
namespace {

// The game draws and moves itself; the window only routes the keys that are not read from the
// keyboard state (pause, weapon change, leaving).
class GameScreen : public ScreenUnit {
 public:
  using ScreenUnit::ScreenUnit;
  void Draw(ScreenState) override {
    if (form_.Game()) form_.Game()->Step(form_.BackBuffer());
  }
  void Key(ScreenState, uint16_t key) override {
    TForm1& f = form_;
    const bool playing = f.Game() && f.Game()->Phase == phasePlaying;
    if (key == 'P') {
      f.PauseGame(f.Images().Menu(menuImgScanLine));
    } else if (key == vkSpace && playing) {
      f.Game()->SelectNextWeapon();
    } else if (key == vkEscape && playing) {
      f.GoTo(scrQuitGameQuestion);
      f.ShowCursor(true);
      f.SaveSnapshot();
    }
  }
  void Command(ScreenState) override {}  // the game reads the mouse buttons itself
  // Leaving the game is answered by its own question first.
  bool YieldToExitQuestion(ScreenState) override { return false; }
};

// The frozen game picture with its scan lines and "Pause"; P or Escape go on.
class PauseScreen : public ScreenUnit {
 public:
  using ScreenUnit::ScreenUnit;
  void Draw(ScreenState) override {
    TForm1& f = form_;
    if (BltFast(f.BackBuffer(), 0, 0, f.SnapshotSurface(), false) != kBlitOk) f.RestoreSurfaces();
    f.Text().DrawShadowText(f.BackBuffer(), 350, 300, 32, 20, "Pause", kNormalColour);
  }
  void Key(ScreenState, uint16_t key) override {
    if (key == 'P' || key == vkEscape) form_.GoTo(scrGame);
  }
  void Command(ScreenState) override {}
  bool YieldToExitQuestion(ScreenState) override { return false; }
};

}  // namespace

void AddGameScreens(TForm1& form, ScreenTable& table) {
  table.Add(std::make_unique<GameScreen>(form), {scrGame});
  table.Add(std::make_unique<PauseScreen>(form), {scrPause});
}

}  // namespace sf
