#include "platform/PadMapper.h"

#include <cstddef>

#include "platform/Input.h"

namespace sf {
namespace {

// The key each control stands for: its key state (0 = none) and its key event.
struct ControlKey {
  int ScanCode;
  uint16_t VirtualKey;
  bool Repeats;
};
constexpr ControlKey kControlKeys[] = {
    {kScanLeft, vkLeft, true}, {kScanRight, vkRight, true}, {kScanUp, vkUp, true},
    {kScanDown, vkDown, true}, {kScanLeftCtrl, 0, false},   {0, vkReturn, false},
    {0, vkEscape, false},      {0, vkSpace, false},         {0, 'P', false},
};

}  // namespace

PadMapper::Pad* PadMapper::Find(int32_t id) {
  for (Pad& p : pads_) {
    if (p.Id == id) return &p;
  }
  return nullptr;
}

bool PadMapper::Connect(int32_t id) {
  if (Find(id)) return true;
  for (Pad& p : pads_) {
    if (p.Id < 0) {
      p = Pad{};
      p.Id = id;
      return true;
    }
  }
  return false;
}

void PadMapper::Disconnect(int32_t id) {
  if (Pad* p = Find(id)) *p = Pad{};
}

void PadMapper::SetButton(int32_t id, int button, bool down) {
  Pad* p = Find(id);
  if (p && button >= 0 && button < kPadButtonCount) p->Buttons[static_cast<size_t>(button)] = down;
}

void PadMapper::SetAxis(int32_t id, int axis, int16_t value) {
  Pad* p = Find(id);
  if (p && axis >= 0 && axis < kPadAxisCount) p->Axes[static_cast<size_t>(axis)] = value;
}

int PadMapper::ConnectedCount() const {
  int n = 0;
  for (const Pad& p : pads_) n += p.Id >= 0 ? 1 : 0;
  return n;
}

std::array<bool, PadMapper::kControlCount> PadMapper::Held() const {
  std::array<bool, kControlCount> held{};
  for (const Pad& p : pads_) {
    if (p.Id < 0) continue;
    const auto b = [&p](int i) { return p.Buttons[static_cast<size_t>(i)]; };
    const auto a = [&p](int i) { return static_cast<int32_t>(p.Axes[static_cast<size_t>(i)]); };
    held[ctlLeft] = held[ctlLeft] || b(padDpadLeft) || a(padLeftX) < -kStickDeadZone;
    held[ctlRight] = held[ctlRight] || b(padDpadRight) || a(padLeftX) > kStickDeadZone;
    held[ctlUp] = held[ctlUp] || b(padDpadUp) || a(padLeftY) < -kStickDeadZone || a(padRightY) < -kStickDeadZone;
    held[ctlDown] = held[ctlDown] || b(padDpadDown) || a(padLeftY) > kStickDeadZone || a(padRightY) > kStickDeadZone;
    held[ctlFire] = held[ctlFire] || b(padA) || a(padTriggerRight) > kTriggerThreshold;
    held[ctlConfirm] = held[ctlConfirm] || b(padA);
    held[ctlBack] = held[ctlBack] || b(padB) || b(padBack);
    held[ctlWeapon] = held[ctlWeapon] || b(padX) || b(padLeftShoulder) || b(padRightShoulder);
    held[ctlPause] = held[ctlPause] || b(padStart);
  }
  return held;
}

int PadMapper::TakeKeyEvents(uint32_t nowMs, uint16_t* out, int capacity) {
  const auto held = Held();
  int n = 0;
  for (int c = 0; c < kControlCount; ++c) {
    const ControlKey& key = kControlKeys[c];
    const bool pressed = held[static_cast<size_t>(c)] && !wasHeld_[static_cast<size_t>(c)];
    bool emit = false;
    if (pressed) {
      emit = true;
      nextRepeat_[static_cast<size_t>(c)] = nowMs + kRepeatDelayMs;
    } else if (held[static_cast<size_t>(c)] && key.Repeats &&
               static_cast<int32_t>(nowMs - nextRepeat_[static_cast<size_t>(c)]) >= 0) {
      emit = true;
      nextRepeat_[static_cast<size_t>(c)] = nowMs + kRepeatIntervalMs;
    }
    wasHeld_[static_cast<size_t>(c)] = held[static_cast<size_t>(c)];
    if (emit && key.VirtualKey != 0 && n < capacity) out[n++] = key.VirtualKey;
  }
  return n;
}

void PadMapper::AddKeyStates(uint8_t state[256]) const {
  const auto held = Held();
  for (int c = 0; c < kControlCount; ++c) {
    if (held[static_cast<size_t>(c)] && kControlKeys[c].ScanCode != 0) state[kControlKeys[c].ScanCode] = 0x80;
  }
}

}  // namespace sf
