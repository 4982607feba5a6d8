// The frame loop.

#include "app/Form.h"
#include "app/ScreenRules.h"
#include "app/screens/ScreenUnit.h"
#include "audio/Audio.h"
#include "gfx/Blit.h"
#include "platform/Clock.h"
#include "platform/Display.h"
#include "platform/Input.h"

namespace sf {

int32_t TForm1::FrameStep() {
  frameStartTick_ = platform_.clock.TickCount();
  std::fill(std::begin(keyboardState_), std::end(keyboardState_), uint8_t{0});
  platform_.input.GetKeyboardState(keyboardState_);
  if (!pacer_.Due(frameStartTick_)) return 0;
  frameDrawn_ = true;
  platform_.display.CaptureMouse(screenState_ == scrGame && focus_.Active());
  audio_->MusicTick(MusicTrackFor(screenState_), config_.settings.MusicOn);
  int32_t result = 0;
  if (ClearBackBuffer() != kBlitOk) result = RestoreSurfaces();
  DrawScreen();
  Present();
  pacer_.LastFrameEndTick = platform_.clock.TickCount();
  return result;
}

void TForm1::DrawScreen() {
  // A state without a screen draws nothing: the cleared frame is shown.
  if (ScreenUnit* unit = screens_->For(screenState_)) unit->Draw(screenState_);
}

}  // namespace sf
