#include "platform/web/BrowserLoop.h"

#include <emscripten.h>

#include "platform/Clock.h"

namespace sf {

BrowserLoop::BrowserLoop(Clock& clock, std::function<bool()> pass, std::function<void()> onClosed)
    : clock_(clock), pass_(std::move(pass)), onClosed_(std::move(onClosed)) {}

void BrowserLoop::Start() { emscripten_set_main_loop_arg(&BrowserLoop::Pass, this, 0, 0); }

void BrowserLoop::Pass(void* self) {
  auto& loop = *static_cast<BrowserLoop*>(self);
  if (!loop.pass_()) {
    emscripten_cancel_main_loop();
    if (loop.onClosed_) loop.onClosed_();
    return;
  }
  // A timer, not the display's refresh: the frame rule draws once per 64 Hz tick, which a 60 Hz
  // refresh would miss four times a second.
  emscripten_set_main_loop_timing(EM_TIMING_SETTIMEOUT, static_cast<int>(loop.clock_.MsUntilNextTick()));
}

}  // namespace sf
