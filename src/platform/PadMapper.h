#pragma once
#include <array>
#include <cstdint>

namespace sf {

// Game pad buttons and axes, numbered as SDL's game controller interface numbers them.
enum PadButton : int {
  padA = 0,
  padB = 1,
  padX = 2,
  padY = 3,
  padBack = 4,
  padGuide = 5,
  padStart = 6,
  padLeftStick = 7,
  padRightStick = 8,
  padLeftShoulder = 9,
  padRightShoulder = 10,
  padDpadUp = 11,
  padDpadDown = 12,
  padDpadLeft = 13,
  padDpadRight = 14,
  kPadButtonCount = 21,
};
enum PadAxis : int {
  padLeftX = 0,
  padLeftY = 1,
  padRightX = 2,
  padRightY = 3,
  padTriggerLeft = 4,
  padTriggerRight = 5,
  kPadAxisCount = 6,
};

// Turns the state of any number of game pads into the keyboard the program already reads: held
// directions and fire become key states (arrows, left Ctrl), presses become key events (arrows
// with repeat while held, Enter, Esc, Space, P). Any connected pad plays; unplugging a pad
// releases everything it held.
class PadMapper {
 public:
  static constexpr int kMaxPads = 8;
  static constexpr int16_t kStickDeadZone = 12000;
  static constexpr int16_t kTriggerThreshold = 8000;
  static constexpr uint32_t kRepeatDelayMs = 400;
  static constexpr uint32_t kRepeatIntervalMs = 120;

  // Returns false when all pad places are taken.
  bool Connect(int32_t id);
  void Disconnect(int32_t id);
  void SetButton(int32_t id, int button, bool down);
  void SetAxis(int32_t id, int axis, int16_t value);
  int ConnectedCount() const;

  // Key events due at nowMs (presses since the last call, and repeats of held directions), as
  // Windows virtual-key codes written to out; returns how many (at most `capacity`).
  int TakeKeyEvents(uint32_t nowMs, uint16_t* out, int capacity);

  // Marks the keys the pads hold in a DirectInput key-state array (0x80 = down).
  void AddKeyStates(uint8_t state[256]) const;

 private:
  struct Pad {
    int32_t Id = -1;
    std::array<bool, kPadButtonCount> Buttons{};
    std::array<int16_t, kPadAxisCount> Axes{};
  };
  // The logical controls, combined over every pad.
  enum Control { ctlLeft, ctlRight, ctlUp, ctlDown, ctlFire, ctlConfirm, ctlBack, ctlWeapon, ctlPause, kControlCount };
  std::array<bool, kControlCount> Held() const;
  Pad* Find(int32_t id);

  std::array<Pad, kMaxPads> pads_{};
  std::array<bool, kControlCount> wasHeld_{};
  std::array<uint32_t, kControlCount> nextRepeat_{};
};

}  // namespace sf
