// Window input and the menu command dispatcher.
#include <cstdio>

#include "app/Form.h"
#include "app/Hosts.h"
#include "app/screens/ScreenUnit.h"
#include "audio/Audio.h"
#include "game/Game.h"
#include "platform/Clock.h"
#include "platform/Display.h"
#include "platform/Http.h"
#include "platform/Input.h"
#include "platform/Shell.h"
#include "replay/ReplayRecorder.h"
#include "ui/Menus.h"
#include "web/OnlineScores.h"

namespace sf {
namespace {

// A submission the service answered with a refusal that the same result would get again (malformed,
// a score above the table's limit). A refused token (403) is not one: a repeat asks for a new one;
// neither are a time-out (408) nor the rate limit (429).
bool RefusedForGood(const HttpFailure& failure) {
  return failure.Status >= 400 && failure.Status < 500 && failure.Status != 403 && failure.Status != 408 &&
         failure.Status != 429;
}

// The screen after the online exchange: the high-score page after a sent result or one refused for
// good (its reason goes to stderr), else the "Can not connect to" question, whose Yes runs the whole
// exchange again.
ScreenState ScreenAfterSubmit(SubmitOutcome outcome, const HttpFailure& failure) {
  if (outcome == SubmitOutcome::Sent) return scrHighScores;
  if (outcome == SubmitOutcome::SubmissionFailed && RefusedForGood(failure)) {
    std::fprintf(stderr, "Salt Fang: the score service refused the result (%d): %s\n", failure.Status,
                 failure.Reason.c_str());
    return scrHighScores;
  }
  return scrConnectFailed;
}

}  // namespace

void TForm1::FormKeyDown(uint16_t key, bool alt) {
  if (alt) {
    // Alt with any key: the keyboard is released around a possible mode switch, so no stale
    // key state is read across it.
    platform_.input.UnacquireKeyboard();
    platform_.clock.Sleep(150);
    if (key == vkReturn) SwitchDisplayMode(!config_.settings.Windowed);
    platform_.clock.Sleep(150);
    platform_.input.AcquireKeyboard();
    return;
  }
  pointer_.Steering = false;
  if (key == static_cast<uint32_t>(config_.settings.MinimizeKey)) {
    platform_.display.Minimize();
    return;
  }
  HandleMenuKey(key);
}

void TForm1::HandleMenuKey(uint16_t key) {
  if (ScreenUnit* unit = screens_->For(screenState_)) unit->Key(screenState_, key);
}

void TForm1::FormMouseMove(int32_t x, int32_t y) {
  pointer_.Steering = true;
  if (focus_.Active()) {
    menus_->OptionsMenu.MouseMode = true;
    pointer_.X = x;
    pointer_.Y = y;
  }
}

void TForm1::FormMouseDown() {
  if (screenState_ == scrGame) return;  // the game reads the buttons itself
  menus_->MouseDownTestAll();
  ExecuteCommand();
}

void TForm1::FormMouseWheel() {
  if (screenState_ == scrGame && currentGame_ && currentGame_->Phase == phasePlaying) currentGame_->SelectNextWeapon();
}

void TForm1::ExecuteCommand() {
  if (ScreenUnit* unit = screens_->For(screenState_)) unit->Command(screenState_);
}

void TForm1::StartNewGame() {
  if (config_.settings.MusicOn) StartMusic("2.xm");
  screenState_ = scrGame;
  currentGame_.reset();  // the last game is discarded before the new one starts
  currentGame_ = std::make_unique<TGame>(*gameHost_, platform_.clock, random_, images_, *text_, recorder_.get());
}

void TForm1::SendResult(bool send) {
  screenState_ = scrPleaseWait;
  pacer_.MakeDue(platform_.clock.TickCount());
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
    while (platform_.input.PollEvent(e)) {
      const bool playerInput = e.Kind == InputEvent::KeyDown || e.Kind == InputEvent::MouseDown ||
                               e.Kind == InputEvent::WheelUp || e.Kind == InputEvent::WheelDown;
      if (!playerInput) heldEvents_.push_back(e);
    }
  };
  platform_.http.SetWaitHandler(holdEvents);
  std::string token;
  const SubmitOutcome outcome = SubmitOnlineScore(platform_.http, menus_->NameEntry.Text, score,
                                                  config_.settings.PlayerName, files_.ScoreService, &token);
  const HttpFailure failure = platform_.http.LastFailure();
  // The game's replay follows a submitted result; its failure leaves the result unverified only.
  if (outcome == SubmitOutcome::Sent) SendGameReplay(token);
  screenState_ = ScreenAfterSubmit(outcome, failure);
  platform_.http.SetWaitHandler({});
  holdEvents();
}

}  // namespace sf
