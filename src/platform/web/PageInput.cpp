#include "platform/web/PageInput.h"

#include <emscripten.h>

namespace sf {

bool PageInput::PollEvent(InputEvent& event) {
  // The formatter does not know JavaScript.
  // clang-format off
  const int queued = EM_ASM_INT({
    const keys = Module['pageKeys'];
    return keys && keys.length ? keys.shift() : -1;
  });
  // clang-format on
  if (queued < 0) return window_.PollEvent(event);
  event = InputEvent{};
  event.Kind = InputEvent::KeyDown;
  event.Key = static_cast<uint16_t>(queued & 0xFFFF);
  event.Alt = (queued & 0x10000) != 0;
  return true;
}

}  // namespace sf
