#pragma once
#include "platform/Input.h"

namespace sf {

// The window's input with the key presses of the page's own controls put first: the touch
// buttons, the name field's input element and the full-screen button queue them in the page
// (Module.pageKeys: a virtual-key code, plus 0x10000 with Alt), and the game takes them as keys of
// the keyboard. Everything else is the window's.
class PageInput : public Input {
 public:
  explicit PageInput(Input& window) : window_(window) {}

  bool PollEvent(InputEvent& event) override;
  void WaitEvent(uint32_t timeoutMs) override { window_.WaitEvent(timeoutMs); }
  bool GetKeyboardState(uint8_t state[256]) override { return window_.GetKeyboardState(state); }
  void AcquireKeyboard() override { window_.AcquireKeyboard(); }
  void UnacquireKeyboard() override { window_.UnacquireKeyboard(); }
  bool GetMouseState(MouseState& state) override { return window_.GetMouseState(state); }

 private:
  Input& window_;
};

}  // namespace sf
