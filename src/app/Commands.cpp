// Window input and the menu command dispatcher.
#include "app/Form.h"
#include "app/Hosts.h"
#include "audio/Audio.h"
#include "game/Game.h"
#include "platform/Clock.h"
#include "platform/Display.h"
#include "platform/Input.h"
#include "platform/Shell.h"
#include "replay/ReplayRecorder.h"
#include "ui/Menus.h"
#include "web/OnlineScores.h"

namespace sf {
namespace {

bool IsHelpPage(uint32_t s) { return s == scrHelpOverview || (s >= 51 && s <= 56); }
bool IsLetter(uint16_t key) { return key >= 'A' && key <= 'Z'; }

}  // namespace

void TForm1::FormKeyDown(uint16_t key, bool alt) {
  if (alt) {
    // Alt with any key: the keyboard is released around a possible mode switch, so no stale
    // key state is read across it.
    platform.input.UnacquireKeyboard();
    platform.clock.Sleep(150);
    if (key == vkReturn) SwitchDisplayMode(!settings.Windowed);
    platform.clock.Sleep(150);
    platform.input.AcquireKeyboard();
    return;
  }
  MouseSteering = false;
  if (key == static_cast<uint32_t>(settings.MinimizeKey)) {
    platform.display.Minimize();
    return;
  }
  HandleMenuKey(key);
}

void TForm1::HandleMenuKey(uint16_t key) {
  Menus& m = *menus;
  const uint32_t screen = ScreenState;
  if (screen == scrMainMenu) {
    if (key == vkUp || key == vkLeft) m.MainMenu.SelectPrev();
    if (key == vkDown || key == vkRight) m.MainMenu.SelectNext();
    if (key == vkReturn || key == vkSpace) {
      m.MainMenu.Clicked = true;
      ExecuteCommand();
    } else if (key == vkEscape) {
      CloseRequest();
    }
  } else if (screen == scrGame) {
    if (key == 'P') {
      PauseGame(images.Menu(menuImgScanLine));
    } else if (key == vkSpace && CurrentGame && CurrentGame->Phase == phasePlaying) {
      CurrentGame->SelectNextWeapon();
    } else if (key == vkEscape && CurrentGame && CurrentGame->Phase == phasePlaying) {
      ScreenState = scrQuitGameQuestion;
      ShowCursor(true);
      SaveSnapshot();
    }
  } else if (screen == scrPause) {
    if (key == 'P' || key == vkEscape) ScreenState = scrGame;
  } else if (screen == scrOptions) {
    auto& o = m.OptionsMenu;
    if (key == vkDown) o.MoveDown();
    if (key == vkRight) o.ChooseSecond();
    if (key == vkLeft) o.ChooseFirst();
    if (key == vkUp) o.MoveUp();
    if (key == vkReturn || key == vkSpace) o.Activate();
    if (ScreenState == scrOptions && o.NameEdit.Focused && o.NameEdit.Editing) {
      if (IsLetter(key)) o.NameEdit.KeyInput(static_cast<char>(key));
      if (key == vkBack) o.NameEdit.KeyInput(TDDEdit::kEraseCode);
    }
    if (key == vkEscape) ScreenState = scrMainMenu;
  } else if (screen == scrKeyCapture) {
    if (m.TryCaptureKey(key)) settings.MinimizeKey = key;
  } else if (screen == scrHighScores || IsHelpPage(screen)) {
    auto& buttons = screen == scrHighScores ? m.HighScoreButtons : m.HelpButtons;
    if (key == vkUp || key == vkLeft) buttons.SelectPrev();
    if (key == vkDown || key == vkRight) buttons.SelectNext();
    if (key == vkReturn || key == vkSpace) {
      buttons.Clicked = true;
      ExecuteCommand();
    } else if (key == vkEscape) {
      ScreenState = scrMainMenu;
    }
  } else if (screen == scrExitQuestion || screen == scrSendQuestion || screen == scrConnectFailed ||
             screen == scrQuitGameQuestion) {
    if (key == vkLeft) m.YesNoDialog.SetChoice(1);
    if (key == vkRight) m.YesNoDialog.SetChoice(0);
    if (key == vkReturn || key == vkSpace || key == 'Y') {
      m.YesNoDialog.Clicked = true;
      ExecuteCommand();
    } else if (key == vkEscape || key == 'N') {
      if (screen == scrQuitGameQuestion) {
        ScreenState = scrGame;
        ShowCursor(false);
      } else {
        ScreenState = scrMainMenu;
      }
    }
  } else if (screen == scrClearQuestion || screen == scrEnterName) {
    if (screen == scrEnterName && IsLetter(key)) m.NameEntry.KeyInput(static_cast<char>(key));
    if (screen == scrEnterName && key == vkBack) m.NameEntry.KeyInput(TDDEdit::kEraseCode);
    if (key == vkLeft) m.OkCancelDialog.SetChoice(1);
    if (key == vkRight) m.OkCancelDialog.SetChoice(0);
    if (key == vkReturn || key == vkSpace) {
      m.OkCancelDialog.Clicked = true;
      ExecuteCommand();
    } else if (key == vkEscape) {
      ScreenState = screen == scrClearQuestion ? scrHighScores : scrMainMenu;
    }
  }
}

void TForm1::FormMouseMove(int32_t x, int32_t y) {
  MouseSteering = true;
  if (WindowActive) {
    menus->OptionsMenu.MouseMode = true;
    MouseX = x;
    MouseY = y;
  }
}

void TForm1::FormMouseDown() {
  if (ScreenState == scrGame) return;  // the game reads the buttons itself
  menus->MouseDownTestAll();
  ExecuteCommand();
}

void TForm1::FormMouseWheel() {
  if (ScreenState == scrGame && CurrentGame && CurrentGame->Phase == phasePlaying) CurrentGame->SelectNextWeapon();
}

void TForm1::ExecuteCommand() {
  Menus& m = *menus;
  switch (ScreenState) {
    case scrIntro:
      ScreenState = scrMainMenu;
      return;
    case scrOptions: {
      auto& o = m.OptionsMenu;
      if (o.Clicked) {
        switch (o.Cursor) {
          case 0: SwitchDisplayMode(true); break;
          case 1: SwitchDisplayMode(false); break;
          case 2:
            o.MusicToggle.Checked = true;
            settings.MusicOn = true;
            StartMusic("1.xm");
            break;
          case 3:
            o.MusicToggle.Checked = false;
            settings.MusicOn = false;
            StopMusic();
            break;
          case 4:
            o.SoundToggle.Checked = true;
            SetSoundOn(true);
            break;
          case 5:
            o.SoundToggle.Checked = false;
            SetSoundOn(false);
            break;
          case 6: o.NameEdit.Editing = !o.NameEdit.Editing; break;
          case 7: m.StartKeyCapture(); break;
          default: break;
        }
      }
      PlayMenuSound();
      return;
    }
    case scrHighScores:
      if (m.HighScoreButtons.Clicked) {
        if (m.HighScoreButtons.Index == 0) {
          ScreenState = scrClearQuestion;
          SaveSnapshot();
        } else if (m.HighScoreButtons.Index == 1) {
          platform.shell.OpenLink(WorldHighScoresUrl(files.ScoreService));
        }
        PlayMenuSound();
        return;
      }
      break;
    case scrHelpOverview:
    case scrHelpNavigation:
    case scrHelpEnemies:
    case scrAbout:
      if (m.HelpButtons.Clicked) {
        const bool next = m.HelpButtons.Index == 1;
        uint32_t to = ScreenState;
        if (ScreenState == scrHelpOverview) to = next ? scrHelpNavigation : scrHelpOverview;
        if (ScreenState == scrHelpNavigation) to = next ? scrHelpEnemies : scrHelpOverview;
        if (ScreenState == scrHelpEnemies) to = next ? scrAbout : scrHelpNavigation;
        if (ScreenState == scrAbout) to = next ? scrAbout : scrHelpEnemies;
        if (to == ScreenState) return;  // no page before the first or after the last
        ScreenState = to;
        PlayMenuSound();
        return;
      }
      break;
    case scrExitQuestion:
      if (m.YesNoDialog.Clicked) {
        if (m.YesNoDialog.Choice) {
          ExitConfirmed = true;
          CloseRequest();
          SaveConfig();
        } else {
          ScreenState = scrMainMenu;
          ExitConfirmed = false;
        }
        PlayMenuSound();
      }
      return;
    case scrClearQuestion:
      if (m.OkCancelDialog.Clicked) {
        if (m.OkCancelDialog.Choice) ResetHighScores(highScores);
        ScreenState = scrHighScores;
        PlayMenuSound();
      }
      return;
    case scrEnterName:
      if (m.OkCancelDialog.Clicked) {
        if (m.OkCancelDialog.Choice) {
          InsertHighScore(highScores, m.NameEntry.Text, CurrentGame ? CurrentGame->Score : 0);
          SaveConfig();
          ScreenState = scrSendQuestion;
        } else {
          ScreenState = scrMainMenu;
        }
        PlayMenuSound();
      }
      return;
    case scrSendQuestion:
    case scrConnectFailed:
      if (m.YesNoDialog.Clicked) {
        SendResult(m.YesNoDialog.Choice);
        PlayMenuSound();
      }
      return;
    case scrQuitGameQuestion:
      if (m.YesNoDialog.Clicked) {
        if (m.YesNoDialog.Choice && CurrentGame) CurrentGame->Leave();
        ScreenState = scrGame;
        ShowCursor(false);
        PlayMenuSound();
      }
      return;
    case scrMainMenu:
      break;
    default:
      return;
  }
  // The main menu, beside every page that shows it.
  if (!m.MainMenu.Clicked) return;
  switch (m.MainMenu.Index) {
    case 0:
      StartNewGame();
      return;
    case 1: ScreenState = scrOptions; break;
    case 2: ScreenState = scrHighScores; break;
    case 3: ScreenState = scrHelpOverview; break;
    case 4: platform.shell.OpenFileIfExists("moregames.url"); break;
    case 5:
      ScreenState = scrExitQuestion;
      SaveSnapshot();
      break;
    default: break;
  }
  PlayMenuSound();
}

void TForm1::StartNewGame() {
  if (settings.MusicOn) StartMusic("2.xm");
  ScreenState = scrGame;
  CurrentGame.reset();  // the last game is discarded before the new one starts
  CurrentGame = std::make_unique<TGame>(*gameHost_, platform.clock, random, images, *text, Recorder.get());
}

void TForm1::SendResult(bool send) {
  ScreenState = scrPleaseWait;
  LastFrameEndTick = platform.clock.TickCount() - 10;
  FrameStep();
  if (!send) {
    ScreenState = scrHighScores;
    return;
  }
  const int32_t score = CurrentGame ? CurrentGame->Score : 0;
  // While the exchange blocks, the window keeps answering the desktop. What the player pressed,
  // clicked or turned meanwhile is thrown away, so nothing meant for "Please wait..." acts on the
  // next page; every other event (focus, close, quit, display) is handled, in order, afterwards.
  const auto holdEvents = [this] {
    InputEvent e;
    while (platform.input.PollEvent(e)) {
      const bool playerInput = e.Kind == InputEvent::KeyDown || e.Kind == InputEvent::MouseDown ||
                               e.Kind == InputEvent::WheelUp || e.Kind == InputEvent::WheelDown;
      if (!playerInput) heldEvents_.push_back(e);
    }
  };
  platform.http.SetWaitHandler(holdEvents);
  std::string token;
  const SubmitOutcome outcome =
      SubmitOnlineScore(platform.http, menus->NameEntry.Text, score, settings.PlayerName, files.ScoreService, &token);
  // The game's replay follows a submitted result; its failure leaves the result unverified only.
  if (outcome == SubmitOutcome::Sent) SendGameReplay(token);
  ScreenState = ScreenAfterSubmit(outcome);
  platform.http.SetWaitHandler({});
  holdEvents();
}

}  // namespace sf
