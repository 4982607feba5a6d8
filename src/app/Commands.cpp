// Window input and the menu command dispatcher.
#include "app/Form.h"
#include "app/Hosts.h"
#include "app/screens/ScreenUnit.h"
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

// The screen after the online exchange: the high-score page after a sent result, else the
// "Can not connect to" question, whose Yes runs the whole exchange again.
ScreenState ScreenAfterSubmit(SubmitOutcome outcome) {
  return outcome == SubmitOutcome::Sent ? scrHighScores : scrConnectFailed;
}

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
  if (ScreenUnit* unit = screens_->For(screenState_)) unit->Key(screenState_, key);
}

void TForm1::FormMouseMove(int32_t x, int32_t y) {
  MouseSteering = true;
  if (focus_.Active()) {
    menus->OptionsMenu.MouseMode = true;
    MouseX = x;
    MouseY = y;
  }
}

void TForm1::FormMouseDown() {
  if (screenState_ == scrGame) return;  // the game reads the buttons itself
  menus->MouseDownTestAll();
  ExecuteCommand();
}

void TForm1::FormMouseWheel() {
  if (screenState_ == scrGame && currentGame_ && currentGame_->Phase == phasePlaying) currentGame_->SelectNextWeapon();
}

void TForm1::ExecuteCommand() {
  if (ScreenUnit* unit = screens_->For(screenState_)) unit->Command(screenState_);
}

void TForm1::StartNewGame() {
  if (settings.MusicOn) StartMusic("2.xm");
  screenState_ = scrGame;
  currentGame_.reset();  // the last game is discarded before the new one starts
  currentGame_ = std::make_unique<TGame>(*gameHost_, platform.clock, random_, images, *text, Recorder.get());
}

void TForm1::SendResult(bool send) {
  screenState_ = scrPleaseWait;
  LastFrameEndTick = platform.clock.TickCount() - 10;
  FrameStep();
  if (!send) {
    screenState_ = scrHighScores;
    return;
  }
  const int32_t score = currentGame_ ? currentGame_->Score : 0;
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
  screenState_ = ScreenAfterSubmit(outcome);
  platform.http.SetWaitHandler({});
  holdEvents();
}

}  // namespace sf
