#pragma once
#include <cstdint>

namespace sf {

// DirectInput-style mouse state: relative motion since the last read, then 8 buttons (0x80 down).
struct MouseState {
  int32_t X = 0;
  int32_t Y = 0;
  int32_t Z = 0;
  uint8_t Buttons[8] = {};
};

// Scan codes of the key-state array (DirectInput numbering).
inline constexpr int kScanLeftCtrl = 29;
inline constexpr int kScanUp = 200;
inline constexpr int kScanLeft = 203;
inline constexpr int kScanRight = 205;
inline constexpr int kScanDown = 208;
inline constexpr int kScanRightCtrl = 157;

// Windows virtual-key codes of key events.
inline constexpr uint16_t vkBack = 8;
inline constexpr uint16_t vkReturn = 13;
inline constexpr uint16_t vkEscape = 27;
inline constexpr uint16_t vkSpace = 32;
inline constexpr uint16_t vkLeft = 37;
inline constexpr uint16_t vkUp = 38;
inline constexpr uint16_t vkRight = 39;
inline constexpr uint16_t vkDown = 40;
inline constexpr uint16_t vkF12 = 123;

// One window-system event, already translated to the program's terms.
struct InputEvent {
  enum Type {
    KeyDown,    // Key (virtual-key code), Alt
    MouseMove,  // X, Y in 800 x 600 picture coordinates
    MouseDown,  // Button, X, Y
    WheelUp,
    WheelDown,
    CloseRequest,     // the window's close box or Alt+F4
    Quit,             // the system asks the program to end (signal, logout): save and leave
    Activate,         // the program became the active application
    Deactivate,       // the program lost the focus
    Restore,          // restored from the minimised state
    MaximizeRequest,  // the maximise box or a double click on the caption
    DisplayLost,      // the display's device was reset; surfaces must be restored
  };
  Type Kind = KeyDown;
  uint16_t Key = 0;
  bool Alt = false;
  int32_t X = 0;
  int32_t Y = 0;
  int32_t Button = 0;
};

// Keyboard and mouse.
class Input {
 public:
  virtual ~Input() = default;
  // Takes the next pending event; false when none is waiting.
  virtual bool PollEvent(InputEvent& event) = 0;
  // Blocks until an event arrives or timeoutMs pass.
  virtual void WaitEvent(uint32_t timeoutMs) = 0;
  // The 256 key states by scan code (0x80 = down); false (and nothing written) while the keyboard
  // is not acquired.
  virtual bool GetKeyboardState(uint8_t state[256]) = 0;
  virtual void AcquireKeyboard() = 0;
  virtual void UnacquireKeyboard() = 0;
  // Relative motion and buttons since the last read; false when the read fails.
  virtual bool GetMouseState(MouseState& state) = 0;
};

}  // namespace sf
