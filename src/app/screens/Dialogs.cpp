// The questions and messages: a dialog box over the menu background or over a picture of the
// screen before it, with the Yes/No or Ok/Cancel buttons.
#include <cstdio>
#include <string_view>

#include "app/Form.h"
#include "app/screens/ScreenUnit.h"
#include "core/Colour.h"
#include "game/Game.h"
#include "gfx/Blit.h"
#include "layout/MenuLayout.h"
#include "options/HighScores.h"
#include "platform/Input.h"
#include "ui/Menus.h"

namespace sf {
namespace {

bool IsLetter(uint16_t key) { return key >= 'A' && key <= 'Z'; }

// The box at boxX over the menu background or the snapshot; testRestore: a failed first blit
// restores the surfaces.
void DrawDialog(TForm1& f, bool fromSnapshot, bool testRestore, int32_t boxX) {
  const int32_t first =
      BltFast(f.BackBuffer(), 0, 0, fromSnapshot ? f.SnapshotSurface() : f.Images().Menu(menuImgBackground), false);
  if (testRestore && first != kBlitOk) f.RestoreSurfaces();
  BltFast(f.BackBuffer(), boxX, kDialogBoxY, f.Images().Menu(menuImgDialogBox), false);
}

// A Yes/No question: Left is Yes, Right is No, Enter, Space or Y answer, Escape or N decline.
class YesNoQuestion : public ScreenUnit {
 public:
  using ScreenUnit::ScreenUnit;
  void Key(ScreenState screen, uint16_t key) override {
    auto& dialog = form_.Widgets().YesNoDialog;
    if (key == vkLeft) dialog.SetChoice(true);
    if (key == vkRight) dialog.SetChoice(false);
    if (key == vkReturn || key == vkSpace || key == 'Y') {
      dialog.Clicked = true;
      form_.ExecuteCommand();
    } else if (key == vkEscape || key == 'N') {
      Decline(screen);
    }
  }
  void Command(ScreenState screen) override {
    auto& dialog = form_.Widgets().YesNoDialog;
    if (!dialog.Clicked) return;
    Answer(screen, dialog.Choice);
    form_.PlayMenuSound();
  }

 protected:
  virtual void Answer(ScreenState screen, bool yes) = 0;
  // Escape or N: back to the main menu unless the question says otherwise.
  virtual void Decline(ScreenState) { form_.GoTo(scrMainMenu); }
};

// An Ok/Cancel dialog: Left is Ok, Right is Cancel, Enter or Space confirm, Escape leaves.
class OkCancelQuestion : public ScreenUnit {
 public:
  using ScreenUnit::ScreenUnit;
  void Key(ScreenState, uint16_t key) override {
    auto& dialog = form_.Widgets().OkCancelDialog;
    if (key == vkLeft) dialog.SetChoice(true);
    if (key == vkRight) dialog.SetChoice(false);
    if (key == vkReturn || key == vkSpace) {
      dialog.Clicked = true;
      form_.ExecuteCommand();
    } else if (key == vkEscape) {
      form_.GoTo(LeaveTo());
    }
  }
  void Command(ScreenState) override {
    auto& dialog = form_.Widgets().OkCancelDialog;
    if (!dialog.Clicked) return;
    Confirm(dialog.Choice);
    form_.PlayMenuSound();
  }

 protected:
  virtual void Confirm(bool ok) = 0;
  virtual ScreenState LeaveTo() const = 0;
};

class ExitQuestion : public YesNoQuestion {
 public:
  using YesNoQuestion::YesNoQuestion;
  void Draw(ScreenState) override {
    TForm1& f = form_;
    DrawDialog(f, false, true, 190);
    BltFast(f.BackBuffer(), 0, 0, f.Images().Menu(menuImgTitle), true);
    f.Text().DrawShadowText(f.BackBuffer(), 250, 260, 46, 20, "Exit  the game?", kNormalColour);
    f.Widgets().YesNoDialog.Draw(f.BackBuffer());
  }

 protected:
  void Answer(ScreenState, bool yes) override {
    TForm1& f = form_;
    if (yes) {
      f.ConfirmExit(true);
      f.CloseRequest();
      f.SaveConfig();
    } else {
      f.GoTo(scrMainMenu);
      f.ConfirmExit(false);
    }
  }
};

// "Send the result?" after the name entry, and "Can not connect" after a failed exchange: Yes
// runs the exchange (again), No goes to the table.
class SendQuestion : public YesNoQuestion {
 public:
  using YesNoQuestion::YesNoQuestion;
  void Draw(ScreenState screen) override {
    TForm1& f = form_;
    if (screen == scrConnectFailed) {
      DrawDialog(f, true, false, 190);
      f.Widgets().YesNoDialog.Draw(f.BackBuffer());
      f.Text().DrawShadowText(f.BackBuffer(), 254, 252, 24, 15, "Can not connect to", kAlertColour);
      f.Text().DrawShadowText(f.BackBuffer(), 290, 282, 24, 15, "server! Repeat?", kAlertColour);
      return;
    }
    DrawDialog(f, true, false, 200);
    f.Widgets().YesNoDialog.Draw(f.BackBuffer());
    f.Text().DrawShadowText(f.BackBuffer(), 254, 252, 24, 15, "Send the result to", kNormalColour);
    f.Text().DrawShadowText(f.BackBuffer(), 216, 282, 24, 15, "world's highscores page", kNormalColour);
  }

  // The result is sent or not before the program may end; a failed exchange may be left.
  bool YieldToExitQuestion(ScreenState screen) override { return screen != scrSendQuestion; }

 protected:
  void Answer(ScreenState, bool yes) override { form_.SendResult(yes); }
};

// "Exit the game?" asked during a game, over its picture: No returns to the game.
class QuitGameQuestion : public YesNoQuestion {
 public:
  using YesNoQuestion::YesNoQuestion;
  void Draw(ScreenState) override {
    TForm1& f = form_;
    DrawDialog(f, true, true, 190);
    f.Text().DrawShadowText(f.BackBuffer(), 250, 260, 46, 20, "Exit the game?", kNormalColour);
    f.Widgets().YesNoDialog.Draw(f.BackBuffer());
  }

 protected:
  void Answer(ScreenState, bool yes) override {
    if (yes && form_.Game()) form_.Game()->Leave();
    BackToTheGame();
  }
  void Decline(ScreenState) override { BackToTheGame(); }

 private:
  void BackToTheGame() {
    form_.GoTo(scrGame);
    form_.ShowCursor(false);
  }
};

class ClearQuestion : public OkCancelQuestion {
 public:
  using OkCancelQuestion::OkCancelQuestion;
  void Draw(ScreenState) override {
    TForm1& f = form_;
    DrawDialog(f, true, false, 210);
    BltFast(f.BackBuffer(), 0, 0, f.Images().Menu(menuImgTitle), true);
    f.Text().DrawShadowText(f.BackBuffer(), 260, 250, 26, 14, "Do you want to clear", kNormalColour);
    f.Text().DrawShadowText(f.BackBuffer(), 260, 278, 26, 14, "the High Score Table?", kNormalColour);
    f.Widgets().OkCancelDialog.Draw(f.BackBuffer());
  }

 protected:
  void Confirm(bool ok) override {
    if (ok) ResetHighScores(form_.Config().highScores);
    form_.GoTo(scrHighScores);
  }
  ScreenState LeaveTo() const override { return scrHighScores; }
};

// The name entry after a new high score: letters and Backspace go to the name field.
class EnterNameScreen : public OkCancelQuestion {
 public:
  using OkCancelQuestion::OkCancelQuestion;
  void Draw(ScreenState) override {
    TForm1& f = form_;
    DrawDialog(f, true, false, 215);
    char line[32];
    const int n = std::snprintf(line, sizeof line, "Your score is %d", f.Game() ? f.Game()->Score : 0);
    f.Text().DrawShadowText(f.BackBuffer(), 290, 232, 24, 14, std::string_view(line, static_cast<size_t>(n)),
                            kNormalColour);
    f.Text().DrawShadowText(f.BackBuffer(), 250, 254, 24, 14, "Please enter your name", kNormalColour);
    f.Widgets().OkCancelDialog.Draw(f.BackBuffer());
    f.Widgets().NameEntry.Draw(f.BackBuffer());
  }
  void Key(ScreenState screen, uint16_t key) override {
    if (IsLetter(key)) form_.TypeName(static_cast<char>(key));
    if (key == vkBack) form_.TypeName(TDDEdit::kEraseCode);
    OkCancelQuestion::Key(screen, key);
  }

  // The new score is named (or dropped) before the program may end.
  bool YieldToExitQuestion(ScreenState) override { return false; }

 protected:
  void Confirm(bool ok) override {
    TForm1& f = form_;
    if (ok) {
      f.ConfirmName();
      InsertHighScore(f.Config().highScores, f.Widgets().NameEntry.Text, f.Game() ? f.Game()->Score : 0);
      f.SaveConfig();
      f.GoTo(scrSendQuestion);
    } else {
      f.GoTo(scrMainMenu);
    }
  }
  ScreenState LeaveTo() const override { return scrMainMenu; }
};

// Shown while the online exchange blocks; it takes no keys or commands.
class PleaseWaitScreen : public ScreenUnit {
 public:
  using ScreenUnit::ScreenUnit;
  void Draw(ScreenState) override {
    TForm1& f = form_;
    DrawDialog(f, true, false, 190);
    f.Text().DrawShadowText(f.BackBuffer(), 290, 282, 24, 16, "Please wait...", kNormalColour);
  }
  void Key(ScreenState, uint16_t) override {}
  void Command(ScreenState) override {}
};

}  // namespace

void AddDialogs(TForm1& form, ScreenTable& table) {
  table.Add(std::make_unique<ExitQuestion>(form), {scrExitQuestion});
  table.Add(std::make_unique<SendQuestion>(form), {scrSendQuestion, scrConnectFailed});
  table.Add(std::make_unique<QuitGameQuestion>(form), {scrQuitGameQuestion});
  table.Add(std::make_unique<ClearQuestion>(form), {scrClearQuestion});
  table.Add(std::make_unique<EnterNameScreen>(form), {scrEnterName});
  table.Add(std::make_unique<PleaseWaitScreen>(form), {scrPleaseWait});
}

}  // namespace sf
